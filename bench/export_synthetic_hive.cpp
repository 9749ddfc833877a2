// Writes a large synthetic hive for the export benchmark: a tree of many keys, each with a
// string, a double word and a binary value, like the bulk of a real SYSTEM or SOFTWARE hive.
//
//   export_synthetic_hive OUT [KEYS]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/HiveBuilder.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: export_synthetic_hive OUT [KEYS]\n");
        return 2;
    }
    const long keys = argc > 2 ? std::atol(argv[2]) : 400000;
    using hivora::test::HiveBuilder;
    HiveBuilder hive;
    std::vector<uint8_t> blob(160);
    long made = 0;
    // Three levels: 100 groups of 100 folders, each holding the rest as leaves.
    const long leavesPerFolder = keys / 10000 + 1;
    for (int g = 0; g < 100 && made < keys; ++g) {
        const auto group =
            hive.AddKey(HiveBuilder::kRoot, u"Group" + std::u16string(1, u'A' + g % 26) +
                                                std::u16string(1, u'0' + g / 26));
        ++made;
        for (int f = 0; f < 100 && made < keys; ++f) {
            std::u16string folderName = u"{0F3C6A71-E809-44CE-AFF4-A5508F4E";
            for (char c : std::to_string(1000 + f))
                folderName.push_back(static_cast<char16_t>(c));
            folderName.push_back(u'}');
            const auto folder = hive.AddKey(group, folderName);
            ++made;
            hive.AddString(folder, u"", u"Folder description text");
            for (long l = 0; l < leavesPerFolder && made < keys; ++l, ++made) {
                std::u16string leafName = u"Instance";
                for (char c : std::to_string(l))
                    leafName.push_back(static_cast<char16_t>(c));
                const auto leaf = hive.AddKey(folder, leafName);
                hive.SetLastWrite(leaf, 132000000000000000ULL + static_cast<uint64_t>(made));
                hive.AddString(leaf, u"DisplayName",
                               u"@%SystemRoot%\\system32\\drivers\\synthetic.sys,-" + leafName);
                hive.AddDword(leaf, u"Start", static_cast<uint32_t>(made));
                for (size_t i = 0; i < blob.size(); ++i) {
                    blob[i] = static_cast<uint8_t>(made + static_cast<long>(i));
                }
                hive.AddValue(leaf, u"Properties", hivora::REG_BINARY, blob);
            }
        }
    }
    const auto built = hive.Build();
    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr ||
        std::fwrite(built.bytes.data(), 1, built.bytes.size(), out) != built.bytes.size() ||
        std::fclose(out) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    std::printf("%s: %ld keys, %zu bytes\n", argv[1], made, built.bytes.size());
    return 0;
}
