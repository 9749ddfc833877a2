// The file set: one file name (UTF-8 path, possibly empty) for each of the eight hive slots,
// with the fixed per-slot data and the three slot orders.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "hive/HiveSet.h"

namespace hivora {

struct FileSet {
    std::array<std::string, kHiveSlotCount> names;
    // Replay the transaction logs beside each hive; off shows the primary files as they are.
    bool applyLogs = true;

    std::string& operator[](HiveSlot slot) { return names[static_cast<size_t>(slot)]; }
    const std::string& operator[](HiveSlot slot) const { return names[static_cast<size_t>(slot)]; }
    bool Empty() const;
};

// The one file set of the process, edited by the file-set dialogs and the command line.
FileSet& CurrentFileSet();

// Slot order: the order of LoadHiveSet's arguments.
inline constexpr std::array<HiveSlot, kHiveSlotCount> kSlotOrder = {
    HiveSlot::System,  HiveSlot::NtUser,     HiveSlot::Software, HiveSlot::Sam,
    HiveSlot::Security, HiveSlot::Default, HiveSlot::Components, HiveSlot::Bcd};
// List order: the "LastFileSet" entries, the Continue probes and the information rows.
inline constexpr std::array<HiveSlot, kHiveSlotCount> kFileSetList = {
    HiveSlot::NtUser, HiveSlot::System, HiveSlot::Software,   HiveSlot::Security,
    HiveSlot::Sam,    HiveSlot::Bcd,    HiveSlot::Components, HiveSlot::Default};

// "System", "NTUser", "Software", "SAM", "Security", ".Default", "Components", "BCD-Template".
std::string_view SlotDisplayName(HiveSlot slot);

// The slot whose standard file name (or the names the folder scans look for) is `fileName`,
// ignoring case and trailing dots: system, system.dat, ntuser.dat, user.dat, software, sam,
// security, default, components, bcd-template.
std::optional<HiveSlot> SlotForFileName(std::string_view fileName);

// The file of `folder` whose name equals `name` ignoring case (the exact name first), as a
// full path; empty when there is none.
std::string FindFileIgnoringCase(std::string_view folder, std::string_view name);

// Fills slots from a folder of hive files, as the hive-folder scan does once it has a folder:
// system (or system.dat), software, sam, security, default, components and bcd-template. Slots
// whose file is absent keep their names; the user slot is never touched. Returns the number
// of slots found (0: nothing suitable in the folder).
int FillFromHiveFolder(FileSet& set, std::string_view folder);

// Sets the user slot from a profile folder: ntuser.dat, else user.dat. False when neither
// exists (the slot is then unchanged).
bool FillFromUserFolder(FileSet& set, std::string_view folder);

// Turns every relative name of the set into an absolute path from the current folder, so that
// the set names the same files when it is remembered and reopened from another folder.
void MakeNamesAbsolute(FileSet& set);

// Loads the set's files into the hive engine, in slot order, applying logs when the set asks
// for it. Returns LoadHiveSet's result.
int LoadFileSet(const FileSet& set);

}  // namespace hivora
