#include "export/RegistryExport.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

#include "export/ExportWriter.h"
#include "fileset/FileSetDescription.h"
#include "hive/RegistryBackend.h"
#include "hive/RegistryReader.h"
#include "keys/RegistryWalker.h"
#include "support/CaseFold.h"
#include "support/MyException.h"
#include "support/ReplacingFile.h"
#include "support/TextConvert.h"
#include "support/ThousandsFormat.h"

namespace hivora {
namespace {

// Room for the longest name a hive can hold and its terminator: names are never cut.
constexpr uint32_t kNameChars = 32768;
constexpr size_t kInitialDataBytes = 65536;

// Reads each key's values for the writer and fills the counters. Every enumerated subkey
// counts as a key, also one that fails to open (which is written nowhere).
class ExportWalk : public WalkVisitor {
public:
    ExportWalk(RegistryWalker& walker, ExportWriter& writer, RegistryCounters& counters)
        : walker_(walker),
          writer_(writer),
          counters_(counters),
          backend_(Backend()),
          name_(kNameChars),
          data_(kInitialDataBytes) {}

    WalkStep Enter(const WalkedKey& key) override {
        if (key.depth > 0) {
            ++counters_.keys;
        }
        if (key.reach == KeyReach::Unopened) {
            ++counters_.inaccessibleKeys;
        }
        if (key.reach != KeyReach::Open) {
            return WalkStep::Skip;
        }
        writer_.BeginKey(key.path, key.lastWrite);
        WriteValues(key.key);
        writer_.EndKey();
        return WalkStep::Descend;
    }

    void Leave(int, uint32_t subkeys) override {
        counters_.mostSubkeys = std::max<uint64_t>(counters_.mostSubkeys, subkeys);
    }

private:
    void WriteValues(HKEY key) {
        uint32_t index = 0;
        for (;; ++index) {
            uint32_t type = 0;
            uint32_t size = 0;
            int32_t status =
                backend_.enumValue(key, index, nullptr, nullptr, nullptr, &type, nullptr, &size);
            if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) {
                break;
            }
            walker_.ChargeValue(size);
            counters_.totalDataBytes += size;
            counters_.largestData = std::max<uint64_t>(counters_.largestData, size);
            if (size > data_.size()) {
                data_.resize(size);
            }
            uint32_t nameLength = kNameChars;
            name_[0] = 0;
            uint32_t got = size;
            status = backend_.enumValue(key, index, name_.data(), &nameLength, nullptr, &type,
                                        data_.data(), &got);
            if (status != ERROR_SUCCESS) {
                break;
            }
            const std::u16string_view name(name_.data(), name_[0] == 0 ? 0 : nameLength);
            writer_.WriteValue(index, name, type, data_.data(), std::min(got, size));
        }
        counters_.values += index;
        counters_.mostValues = std::max<uint64_t>(counters_.mostValues, index);
    }

    RegistryWalker& walker_;
    ExportWriter& writer_;
    RegistryCounters& counters_;
    const RegistryBackend& backend_;
    std::vector<char16_t> name_;
    std::vector<uint8_t> data_;  // the value data buffer: grown on demand, never shrunk
};

bool StartsWithRoot(std::string_view path, std::string_view root) {
    return path.size() >= root.size() && EqualsNoCase(path.substr(0, root.size()), root);
}

}  // namespace

bool ExportKeyTree(RegistryWalker& walker, ExportWriter& writer, HKEY key, std::string_view path,
                   FileTime lastWrite, RegistryCounters& counters) {
    ExportWalk visitor(walker, writer, counters);
    walker.Walk(key, path, visitor, lastWrite);
    counters.walkCut = counters.walkCut || walker.Exhausted();
    return !walker.Exhausted();
}

bool ExportKeyTree(ExportStyle style, ExportOutput& out, HKEY key, std::string_view path,
                   FileTime lastWrite, RegistryCounters& counters) {
    RegistryWalker walker;
    return ExportKeyTree(walker, *MakeExportWriter(style, out), key, path, lastWrite, counters);
}

void WriteRegistryExport(ExportStyle style, std::string_view branch, ExportOutput& out,
                         RegistryCounters& counters) {
    const std::unique_ptr<ExportWriter> writer = MakeExportWriter(style, out);
    writer->WriteHeader(DescribeFileSet(), std::time(nullptr));
    counters.Reset();
    RegistryWalker walker;
    if (branch.empty()) {
        ExportKeyTree(walker, *writer, HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", 0, counters);
        ExportKeyTree(walker, *writer, HKEY_USERS, "HKEY_USERS", 0, counters);
        return;
    }
    HKEY root = nullptr;
    std::string_view rootName;
    for (auto [handle, name] :
         {std::pair{HKEY_LOCAL_MACHINE, std::string_view("HKEY_LOCAL_MACHINE")},
          std::pair{HKEY_USERS, std::string_view("HKEY_USERS")}}) {
        if (StartsWithRoot(branch, name)) {
            root = handle;
            rootName = name;
            break;
        }
    }
    // The root name must stand whole: HKEY_USERSX\... names no exported root.
    if (root == nullptr || (branch.size() > rootName.size() && branch[rootName.size()] != '\\')) {
        ThrowError("Invalid operation");
    }
    const std::string_view subPath =
        branch.size() > rootName.size() ? branch.substr(rootName.size() + 1) : std::string_view();
    const RegKey key = OpenRegKey(root, ToUtf16(subPath));
    if (!key) {
        ThrowError("Unable to open the key");
    }
    ExportKeyTree(walker, *writer, key.get(), branch, 0, counters);
}

uint64_t ExportRegistry(ExportStyle style, std::string_view branch, const std::string& fileName) {
    const auto start = std::chrono::steady_clock::now();
    ReplacingFile file(fileName);
    ExportOutput out(file.Descriptor(), fileName);
    try {
        WriteRegistryExport(style, branch, out, Counters());
    } catch (const FileError&) {
        throw;  // nothing is left under the file's name
    } catch (const CMyException&) {
        out.Flush();  // the file keeps what was written: the header of a branch that failed
        file.Commit();
        throw;
    }
    out.Flush();
    file.Commit();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

std::string FormatExportCompletion(uint64_t milliseconds, const RegistryCounters& counters) {
    return "Export completed, " + FormatThousandsUnsigned(milliseconds) +
           " milliseconds taken.\r\n" + FormatCounterReport(counters);
}

}  // namespace hivora
