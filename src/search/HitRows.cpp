#include "search/HitRows.h"

#include <algorithm>
#include <numeric>
#include <sstream>

#include "export/ExportOutput.h"
#include "support/CaseFold.h"
#include "support/ReplacingFile.h"
#include "support/FileTimeFormat.h"

namespace hivora {

std::vector<std::string> HitColumnNames() {
    return {"Kind", "Key", "Value", "Data", "Last write (UTC)"};
}

std::string_view HitKindName(MatchKind kind) {
    return NamesOf(kind).label;
}

std::string_view HitValueName(const SearchResult& hit) {
    return hit.valueName == kKeyHitValueName ? std::string_view() : hit.valueName;
}

std::vector<std::string> HitRowCells(const SearchResult& hit) {
    return {std::string(HitKindName(hit.kind)), hit.keyPath, std::string(HitValueName(hit)),
            hit.data, hit.lastWrite != 0 ? FormatUtcTimestamp(hit.lastWrite) : std::string()};
}

int CompareHits(const SearchResult& a, const SearchResult& b, int column) {
    switch (column) {
        case kHitKind:
            return static_cast<int>(a.kind) - static_cast<int>(b.kind);
        case kHitKey:
            return CompareForDisplay(a.keyPath, b.keyPath);
        case kHitValue:
            return CompareForDisplay(HitValueName(a), HitValueName(b));
        case kHitData:
            return CompareForDisplay(a.data, b.data);
        case kHitLastWrite:
            return (a.lastWrite > b.lastWrite) - (a.lastWrite < b.lastWrite);
        default:
            return 0;
    }
}

namespace {

std::string_view HitText(const SearchResult& hit, int column) {
    switch (column) {
        case kHitKey:
            return hit.keyPath;
        case kHitValue:
            return HitValueName(hit);
        default:
            return hit.data;
    }
}

}  // namespace

std::vector<size_t> HitSortOrder(std::span<const SearchResult> hits, int column,
                                 bool descending) {
    std::vector<size_t> order(hits.size());
    std::iota(order.begin(), order.end(), size_t{0});
    const int sign = descending ? -1 : 1;
    if (column != kHitKey && column != kHitValue && column != kHitData) {
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return sign * CompareHits(hits[a], hits[b], column) < 0;
        });
        return order;
    }
    // Folded texts in byte order are the texts in CompareNoCase's order; texts equal once
    // folded fall back to the full comparison, which puts small letters first.
    std::vector<std::string> folded(hits.size());
    for (size_t i = 0; i < hits.size(); ++i) {
        FoldCaseUtf8(HitText(hits[i], column), folded[i]);
    }
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        int compared = folded[a].compare(folded[b]);
        if (compared == 0) {
            const std::string_view textA = HitText(hits[a], column);
            const std::string_view textB = HitText(hits[b], column);
            compared = textA == textB ? 0 : CompareForDisplay(textA, textB);
        }
        return sign * compared < 0;
    });
    return order;
}

ResultFormat ResultFormatForFileName(std::string_view fileName) {
    const size_t dot = fileName.rfind('.');
    const std::string_view extension =
        dot == std::string_view::npos ? std::string_view() : fileName.substr(dot);
    return EqualsNoCase(extension, ".jsonl") || EqualsNoCase(extension, ".json")
               ? ResultFormat::JsonLines
               : ResultFormat::Csv;
}

void SaveHits(std::span<const SearchResult> hits, ResultFormat format,
              const std::string& fileName) {
    ReplacingFile file(fileName);
    ExportOutput out(file.Descriptor(), fileName);
    // The writer fills a small stream that is handed on in blocks, so a large list never
    // stands twice in memory.
    std::ostringstream block;
    const std::unique_ptr<ResultWriter> writer = MakeResultWriter(format, block, HitColumnNames());
    auto handOn = [&] {
        out.Buffer() += block.view();
        block.str(std::string());
        out.Commit();
    };
    size_t row = 0;
    for (const SearchResult& hit : hits) {
        writer->WriteRow(HitRowCells(hit));
        if (++row % 4096 == 0) {
            handOn();
        }
    }
    handOn();
    out.Flush();
    file.Commit();
}

}  // namespace hivora
