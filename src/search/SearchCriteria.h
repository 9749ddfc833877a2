// What a search looks for and where it starts; one per registry window, edited by the Find and
// Find By Date dialogs and by the command line.
#pragma once

#include <string>

#include "hive/RegistryTypes.h"
#include "support/FileTimeFormat.h"

namespace hivora {

struct SearchCriteria {
    std::string text;
    int keys = 1;         // look at key names
    int values = 1;       // look at value names
    int data = 1;         // look at string data
    int wholeString = 0;  // the whole name or string must equal the text, ignoring case
    int regex = 0;        // the text is a PCRE2 pattern (found anywhere unless wholeString)
    int matchCase = 0;    // names, data and patterns compare case-sensitively
    int byDate = 0;       // look at key last-write times instead of texts
    int afterOn = 1;      // in date mode, the lower limit applies
    int beforeOn = 1;     // in date mode, the upper limit applies
    // Clock readings stored without time-zone adjustment; today 00:00:00 and 23:59:59.
    FileTime after = TodayStartFileTime();  // inclusive
    FileTime before = TodayEndFileTime();   // inclusive
    // Full path of the key the search starts at ("HKEY_LOCAL_MACHINE\software\..."); empty:
    // the beginning of HKEY_LOCAL_MACHINE.
    std::string startPath;
    // Value of the start key after which the search starts; empty: all of its values.
    std::string startValue;
    // Also look at deleted keys and values (names and string data; not in date mode): each
    // hive's after its live keys, in the order of their records in the hive.
    int deleted = 0;
    // A start among deleted records: the search goes on after the record at this cell offset
    // of the hive image with this generation (offset 0: before its first record), then with
    // the hives after it. Generation 0: the start is startPath and startValue.
    uint32_t startDeletedHive = 0;
    uint32_t startDeletedOffset = 0;
};

}  // namespace hivora
