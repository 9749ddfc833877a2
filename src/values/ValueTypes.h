// Every value type the program knows, in one table: its name, its picture in the values list
// and how each writer shows its data. A new type is one row here; a new way of reading data
// is one new form, handled by each writer's switch over the forms.
#pragma once

#include <cstdint>

namespace hivora {

// How the data reads as text: in the values list, the Value Data window and the text export.
enum class ValueTextForm {
    String,       // UTF-16 up to the first NUL
    MultiString,  // UTF-16 strings, each NUL-terminated, up to an empty one
    Dword,        // 32-bit little-endian number
    Qword,        // 64-bit little-endian number
    Bytes         // hexadecimal bytes
};

// How a REG file writes the data after `"name"=`.
enum class RegDataForm {
    String,  // "quoted"
    Binary,  // hex:..
    Dword,   // dword:XXXXXXXX
    Hex      // hex(type):..
};

// Picture numbers of the values list's image list; kNoTypeImage shows none.
inline constexpr int kTypeImageText = 0;
inline constexpr int kTypeImageNumber = 1;
inline constexpr int kNoTypeImage = -1;

struct ValueTypeInfo {
    uint32_t type = 0;
    const char* name = "UNDEFINED";  // the Type column
    int image = kNoTypeImage;
    ValueTextForm listForm = ValueTextForm::Bytes;  // the values list and Value Data window
    ValueTextForm textForm = ValueTextForm::Bytes;  // the text export
    RegDataForm regForm = RegDataForm::Hex;
    bool opensDataWindow = false;  // View Data shows the text window, not the binary viewer
};

// The row for `type`; types outside the table get the UNDEFINED row with their own number.
ValueTypeInfo ValueTypeOf(uint32_t type);

}  // namespace hivora
