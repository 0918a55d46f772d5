#include "hid/report_descriptor.h"

#include <map>

namespace karvo {
namespace {

enum ItemType { kMain = 0, kGlobal = 1, kLocal = 2 };
enum MainTag {
    kInput = 0x8,
    kOutput = 0x9,
    kCollection = 0xA,
    kFeature = 0xB,
    kEndCollection = 0xC
};
enum GlobalTag { kReportSize = 0x7, kReportId = 0x8, kReportCount = 0x9, kPush = 0xA, kPop = 0xB };

struct GlobalState {
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint32_t reportId = 0;
};

// Bits per report ID, one map per direction.
using BitCounts = std::map<std::uint32_t, std::uint64_t>;

constexpr std::uint64_t kMaxReportBits = static_cast<std::uint64_t>(kMaxReportByteLength) * 8;

bool AddBits(BitCounts& counts, const GlobalState& g) {
    const std::uint64_t bits = static_cast<std::uint64_t>(g.reportSize) * g.reportCount;
    std::uint64_t& total = counts[g.reportId];
    if (bits > kMaxReportBits || total + bits > kMaxReportBits) return false;
    total += bits;
    return true;
}

// Longest report in bytes plus the ID byte; 0 when there is none. Fails past the limit.
bool LongestReport(const BitCounts& counts, int& length) {
    std::uint64_t longest = 0;
    bool any = false;
    for (const auto& [id, bits] : counts) {
        (void)id;
        any = true;
        if (bits > longest) longest = bits;
    }
    if (!any) {
        length = 0;
        return true;
    }
    const std::uint64_t bytes = (longest + 7) / 8 + 1;
    if (bytes > static_cast<std::uint64_t>(kMaxReportByteLength)) return false;
    length = static_cast<int>(bytes);
    return true;
}

}  // namespace

std::optional<ReportLayout> ParseReportDescriptor(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size == 0) return std::nullopt;
    GlobalState global;
    std::vector<GlobalState> stack;
    BitCounts input, output;
    bool usesIds = false;
    bool mainWithoutId = false;
    int collectionDepth = 0;

    std::size_t pos = 0;
    while (pos < size) {
        const std::uint8_t prefix = data[pos++];
        if (prefix == 0xFE) {  // long item: size, tag, data; nothing of ours
            if (size - pos < 2) return std::nullopt;
            const std::size_t longSize = data[pos];
            pos += 2;
            if (size - pos < longSize) return std::nullopt;
            pos += longSize;
            continue;
        }
        const std::size_t dataSize = (prefix & 0x3) == 3 ? 4 : (prefix & 0x3);
        const int type = (prefix >> 2) & 0x3;
        const int tag = prefix >> 4;
        if (size - pos < dataSize) return std::nullopt;
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < dataSize; ++i) {
            value |= static_cast<std::uint32_t>(data[pos + i]) << (8 * i);
        }
        pos += dataSize;

        if (type == kMain) {
            switch (tag) {
                case kInput:
                case kOutput:
                case kFeature:
                    if (global.reportId == 0) mainWithoutId = true;
                    if (tag == kInput && !AddBits(input, global)) return std::nullopt;
                    if (tag == kOutput && !AddBits(output, global)) return std::nullopt;
                    break;
                case kCollection:
                    ++collectionDepth;
                    break;
                case kEndCollection:
                    if (collectionDepth == 0) return std::nullopt;
                    --collectionDepth;
                    break;
                default:
                    break;  // reserved main items carry nothing we count
            }
        } else if (type == kGlobal) {
            switch (tag) {
                case kReportSize:
                    global.reportSize = value;
                    break;
                case kReportCount:
                    global.reportCount = value;
                    break;
                case kReportId:
                    if (value == 0 || value > 255) return std::nullopt;
                    global.reportId = value;
                    usesIds = true;
                    break;
                case kPush:
                    stack.push_back(global);
                    break;
                case kPop:
                    if (stack.empty()) return std::nullopt;
                    global = stack.back();
                    stack.pop_back();
                    break;
                default:
                    break;
            }
        }
        // Local and reserved items do not change the report lengths.
    }
    // A descriptor cut short ends inside a collection.
    if (collectionDepth != 0) return std::nullopt;
    // Reports without an ID next to numbered ones cannot be told apart on the wire.
    if (usesIds && mainWithoutId) return std::nullopt;

    ReportLayout layout;
    layout.UsesReportIds = usesIds;
    if (!LongestReport(output, layout.OutputReportByteLength)) return std::nullopt;
    if (!LongestReport(input, layout.InputReportByteLength)) return std::nullopt;
    return layout;
}

ReportLayout UsableReportLayout(const std::optional<std::vector<std::uint8_t>>& descriptor) {
    std::optional<ReportLayout> parsed;
    if (descriptor) parsed = ParseReportDescriptor(descriptor->data(), descriptor->size());
    if (!parsed) return ReportLayout{kFallbackReportByteLength, kFallbackReportByteLength, true};
    ReportLayout layout = *parsed;
    if (layout.OutputReportByteLength <= 0)
        layout.OutputReportByteLength = kFallbackReportByteLength;
    if (layout.InputReportByteLength <= 0) layout.InputReportByteLength = kFallbackReportByteLength;
    return layout;
}

}  // namespace karvo
