#include "export/RegistryCounters.h"

#include <algorithm>
#include <vector>

#include "export/FileSetDescription.h"
#include "hive/WalkGuard.h"

namespace hivora {
namespace {

// Room for the longest name a hive can hold and its terminator.
constexpr uint32_t kNameChars = 32768;

class CountWalk {
public:
    CountWalk(RegistryCounters& counters, const RegistryBackend& backend)
        : counters_(counters), backend_(backend), name_(kNameChars) {}

    void Walk(HKEY key, int depth) {
        const WalkGuard::Visit visit = guard_.Enter(key, depth);
        if (!visit.enter) {
            return;
        }
        if (visit.values) {
            CountValues(key);
        }
        if (visit.subkeys) {
            CountSubkeys(key, depth);
        }
    }

private:
    void CountValues(HKEY key) {
        uint32_t index = 0;
        for (;; ++index) {
            uint32_t type = 0;
            uint32_t size = 0;
            const int32_t status =
                backend_.enumValue(key, index, nullptr, nullptr, nullptr, &type, nullptr, &size);
            if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) {
                break;
            }
            counters_.totalDataBytes += size;
            counters_.largestData = std::max<uint64_t>(counters_.largestData, size);
        }
        counters_.values += index;
        counters_.mostValues = std::max<uint64_t>(counters_.mostValues, index);
    }

    void CountSubkeys(HKEY key, int depth) {
        uint32_t index = 0;
        for (;; ++index) {
            FileTime lastWrite = 0;
            HKEY subkey = nullptr;
            // The name is only needed to open a subkey that the enumeration did not hand over,
            // so it is asked for only then.
            int32_t status = backend_.enumKey(key, index, nullptr, nullptr, nullptr, nullptr,
                                              nullptr, &lastWrite, &subkey);
            if (status == ERROR_SUCCESS && subkey == nullptr) {
                uint32_t length = kNameChars;
                status = backend_.enumKey(key, index, name_.data(), &length, nullptr, nullptr,
                                          nullptr, &lastWrite, nullptr);
            }
            if (status != ERROR_SUCCESS) {
                if (subkey != nullptr) {
                    backend_.closeKey(subkey);
                }
                break;
            }
            if (subkey == nullptr &&
                (backend_.openKey(key, name_.data(), &subkey) != ERROR_SUCCESS ||
                 subkey == nullptr)) {
                ++counters_.inaccessibleKeys;
                continue;
            }
            ++counters_.keys;
            Walk(subkey, depth + 1);
            backend_.closeKey(subkey);
        }
        if (index != 0) {
            counters_.mostSubkeys = std::max<uint64_t>(counters_.mostSubkeys, index);
        }
    }

    RegistryCounters& counters_;
    const RegistryBackend& backend_;
    WalkGuard guard_;
    std::vector<char16_t> name_;
};

void AppendGroups(uint64_t value, char separator, std::string& out) {
    char digits[32];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int i = n - 1; i >= 0; --i) {
        out.push_back(digits[i]);
        if (i != 0 && i % 3 == 0) {
            out.push_back(separator);
        }
    }
}

}  // namespace

RegistryCounters& Counters() {
    static RegistryCounters counters;
    return counters;
}

void CountKeyTree(HKEY key, RegistryCounters& counters) {
    CountWalk(counters, Backend()).Walk(key, 0);
}

const RegistryCounters& CountRegistry() {
    RegistryCounters& counters = Counters();
    counters.Reset();
    CountKeyTree(HKEY_LOCAL_MACHINE, counters);
    CountKeyTree(HKEY_USERS, counters);
    return counters;
}

std::string FormatCounterReport(const RegistryCounters& c) {
    std::string out = FormatThousandsUnsigned(c.keys) + " keys";
    if (c.inaccessibleKeys != 0) {
        out += " (" + std::to_string(c.inaccessibleKeys) + " inaccessible)";
    }
    out += ", " + FormatThousandsUnsigned(c.values) + " values\r\n";
    out += FormatThousandsUnsigned(c.mostSubkeys) + " maximum subkeys per key, ";
    out += FormatThousandsUnsigned(c.mostValues) + " maximum values per key\r\n";
    out += FormatThousandsUnsigned(c.largestData) + " maximum value data size, ";
    out += FormatThousandsUnsigned(c.totalDataBytes) + " total data bytes";
    return out;
}

std::string FormatStatisticsText(const RegistryCounters& counters) {
    return DescribeFileSet() + "\r\n---------------------------\r\n" +
           FormatCounterReport(counters);
}

std::string FormatThousands(int64_t value, char separator) {
    std::string out;
    uint64_t magnitude = static_cast<uint64_t>(value);
    if (value < 0) {
        out.push_back('-');
        magnitude = 0 - magnitude;
    }
    AppendGroups(magnitude, separator, out);
    return out;
}

std::string FormatThousandsUnsigned(uint64_t value, char separator) {
    std::string out;
    AppendGroups(value, separator, out);
    return out;
}

}  // namespace hivora
