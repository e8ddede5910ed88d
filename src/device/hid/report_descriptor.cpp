// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hid/report_descriptor.h"

#include <algorithm>
#include <array>
#include <map>
#include <vector>

namespace orvane::hid {
namespace {

// Limits past which a descriptor is taken as corrupt rather than merely unusual. They are
// those of the Linux HID core, so anything the kernel accepted passes here too.
constexpr uint32_t kMaxReportSize = 256;         // bits per field
constexpr uint32_t kMaxReportCount = 12288;      // fields per main item
constexpr uint32_t kMaxReportBytes = 16384;      // data bytes of one report
constexpr size_t kMaxGlobalStack = 16;
constexpr size_t kMaxCollectionDepth = 64;
constexpr size_t kMaxLocalUsages = 12288;        // usages one main item may name

enum ItemType : uint8_t { kMain = 0, kGlobal = 1, kLocal = 2 };
enum MainTag : uint8_t { kInput = 8, kOutput = 9, kCollection = 10, kFeature = 11, kEndCollection = 12 };
enum GlobalTag : uint8_t {
    kUsagePage = 0, kLogicalMin = 1, kLogicalMax = 2, kPhysicalMin = 3, kPhysicalMax = 4,
    kReportSize = 7, kReportId = 8, kReportCount = 9, kPush = 10, kPop = 11,
};
enum LocalTag : uint8_t { kUsage = 0, kUsageMin = 1, kUsageMax = 2 };

// Main item data bits.
constexpr uint32_t kConstantBit = 0x01;
constexpr uint32_t kVariableBit = 0x02;
constexpr uint32_t kNullStateBit = 0x40;
constexpr uint8_t kApplicationCollection = 0x01;

struct Item {
    uint8_t type = 0;
    uint8_t tag = 0;
    uint8_t size = 0;  // data bytes: 0, 1, 2 or 4
    uint32_t udata = 0;
    int32_t sdata() const {
        switch (size) {
        case 1: return static_cast<int8_t>(udata);
        case 2: return static_cast<int16_t>(udata);
        default: return static_cast<int32_t>(udata);
        }
    }
};

// A maximum is read as signed only when its minimum is negative: "Logical Maximum (255)"
// coded in one byte after "Logical Minimum (0)" means 255, not -1.
struct RangeEnd {
    uint32_t raw = 0;
    uint8_t size = 0;
    int32_t resolve(int32_t minimum) const {
        if (minimum >= 0) return static_cast<int32_t>(raw);
        return Item{0, 0, size, raw}.sdata();
    }
};

struct GlobalState {
    uint16_t usagePage = 0;
    int32_t logicalMin = 0;
    RangeEnd logicalMax;
    int32_t physicalMin = 0;
    RangeEnd physicalMax;
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint8_t reportId = 0;
};

// A usage as written. A 16-bit usage takes the usage page in force where it is declared (a
// range where its maximum is); an extended (4-byte) usage carries its own page in the high
// half. `order` counts declarations, so the fields are named in the order written.
struct LocalUsage {
    uint32_t value = 0;
    bool extended = false;
    uint16_t page = 0;
    uint32_t order = 0;
    uint32_t full() const { return extended ? value : (uint32_t{page} << 16) | (value & 0xFFFF); }
};

struct LocalState {
    std::vector<LocalUsage> usages;
    std::optional<LocalUsage> usageMin;
    std::optional<LocalUsage> usageMax;
    uint32_t declared = 0;
};

class Parser {
public:
    std::optional<ReportLayout> run(std::span<const uint8_t> d, std::string* error);

private:
    bool fail(std::string why) {
        error_ = std::move(why);
        return false;
    }
    bool readItem(std::span<const uint8_t> d, size_t& pos, Item& item, bool& isLong);
    bool global(const Item& item);
    bool local(const Item& item);
    bool collection(const Item& item);
    bool mainData(const Item& item);
    void rebindTrailingUsages();
    void addCaps(uint32_t flags, uint32_t bitOffset);

    ReportLayout layout_;
    GlobalState global_;
    std::vector<GlobalState> stack_;
    LocalState local_;
    size_t depth_ = 0;
    bool topLevelSeen_ = false;
    bool dataWithoutId_ = false;
    // Bits used so far by each report, per report type (0 input, 1 output, 2 feature).
    std::array<std::map<uint8_t, uint32_t>, 3> bits_;
    std::string error_;
};

bool Parser::readItem(std::span<const uint8_t> d, size_t& pos, Item& item, bool& isLong) {
    const uint8_t prefix = d[pos];
    if (prefix == 0xFE) {  // long item: prefix, data size, tag, data; no defined use
        if (d.size() - pos < 3) return fail("truncated long item at offset " + std::to_string(pos));
        const size_t length = d[pos + 1];
        if (d.size() - pos - 3 < length) return fail("truncated long item at offset " + std::to_string(pos));
        pos += 3 + length;
        isLong = true;
        return true;
    }
    isLong = false;
    static constexpr uint8_t kSizes[4] = {0, 1, 2, 4};
    item.size = kSizes[prefix & 0x03];
    item.type = (prefix >> 2) & 0x03;
    item.tag = prefix >> 4;
    if (d.size() - pos - 1 < item.size) return fail("truncated item at offset " + std::to_string(pos));
    item.udata = 0;
    for (size_t i = 0; i < item.size; ++i) item.udata |= uint32_t{d[pos + 1 + i]} << (8 * i);
    pos += 1 + item.size;
    return true;
}

bool Parser::global(const Item& item) {
    switch (item.tag) {
    case kUsagePage:
        if (item.udata > 0xFFFF) return fail("usage page wider than 16 bits");
        global_.usagePage = static_cast<uint16_t>(item.udata);
        break;
    case kLogicalMin: global_.logicalMin = item.sdata(); break;
    case kLogicalMax: global_.logicalMax = {item.udata, item.size}; break;
    case kPhysicalMin: global_.physicalMin = item.sdata(); break;
    case kPhysicalMax: global_.physicalMax = {item.udata, item.size}; break;
    case kReportSize:
        if (item.udata > kMaxReportSize) return fail("report size " + std::to_string(item.udata) + " too large");
        global_.reportSize = item.udata;
        break;
    case kReportCount:
        if (item.udata > kMaxReportCount) return fail("report count " + std::to_string(item.udata) + " too large");
        global_.reportCount = item.udata;
        break;
    case kReportId:
        if (item.udata == 0 || item.udata > 0xFF) return fail("invalid report id " + std::to_string(item.udata));
        global_.reportId = static_cast<uint8_t>(item.udata);
        layout_.usesReportIds = true;
        break;
    case kPush:
        if (stack_.size() >= kMaxGlobalStack) return fail("global state stack overflow");
        stack_.push_back(global_);
        break;
    case kPop:
        if (stack_.empty()) return fail("pop without push");
        global_ = stack_.back();
        stack_.pop_back();
        break;
    default: break;  // unit, unit exponent, reserved: not needed here
    }
    return true;
}

bool Parser::local(const Item& item) {
    const LocalUsage usage{item.udata, item.size == 4, global_.usagePage, local_.declared++};
    switch (item.tag) {
    case kUsage:
        if (local_.usages.size() >= kMaxLocalUsages) return fail("too many usages");
        local_.usages.push_back(usage);
        break;
    case kUsageMin: local_.usageMin = usage; break;
    case kUsageMax:
        local_.usageMax = usage;
        // The range is complete here, so all of it takes the page in force now.
        if (local_.usageMin && !local_.usageMin->extended) local_.usageMin->page = global_.usagePage;
        break;
    default: break;  // designators, strings, delimiters
    }
    return true;
}

// A Usage Page between usages and their main item applies to those trailing usages only: the
// latest declared take the page in force, back to the first that already has it (extended
// usages keep their own). The usages before it keep the page they were declared under. This
// is how the Linux HID core and hid-tools read such descriptors.
void Parser::rebindTrailingUsages() {
    std::vector<LocalUsage*> latestFirst;
    for (auto& u : local_.usages) latestFirst.push_back(&u);
    LocalUsage* range = local_.usageMax ? &*local_.usageMax : local_.usageMin ? &*local_.usageMin : nullptr;
    if (range) latestFirst.push_back(range);
    std::sort(latestFirst.begin(), latestFirst.end(), [](auto* a, auto* b) { return a->order > b->order; });
    for (LocalUsage* u : latestFirst) {
        if (u->extended) continue;
        if (u->page == global_.usagePage) break;
        u->page = global_.usagePage;
        if (u == range && local_.usageMin && !local_.usageMin->extended) local_.usageMin->page = u->page;
    }
}

bool Parser::collection(const Item& item) {
    if (item.tag == kEndCollection) {
        if (depth_ == 0) return fail("end collection without collection");
        --depth_;
        return true;
    }
    if (depth_ >= kMaxCollectionDepth) return fail("collections nested too deeply");
    if (depth_ == 0 && !topLevelSeen_ && (item.udata & 0xFF) == kApplicationCollection) {
        topLevelSeen_ = true;
        uint32_t usage = 0;
        if (!local_.usages.empty()) usage = local_.usages.front().full();
        else if (local_.usageMin) usage = local_.usageMin->full();
        layout_.usagePage = static_cast<uint16_t>(usage >> 16);
        layout_.usage = static_cast<uint16_t>(usage);
    }
    ++depth_;
    return true;
}

bool Parser::mainData(const Item& item) {
    const int type = item.tag == kInput ? 0 : item.tag == kOutput ? 1 : 2;
    const uint32_t itemBits = global_.reportSize * global_.reportCount;
    uint32_t& used = bits_[type][global_.reportId];
    if (used + itemBits > kMaxReportBytes * 8) return fail("report longer than " + std::to_string(kMaxReportBytes) + " bytes");
    if (global_.reportId == 0 && itemBits > 0) dataWithoutId_ = true;
    if (local_.usageMin && local_.usageMax) {
        const uint32_t lo = local_.usageMin->full();
        const uint32_t hi = local_.usageMax->full();
        if ((lo >> 16) != (hi >> 16) || lo > hi) return fail("usage minimum above usage maximum");
    }
    if (type == 0 && itemBits > 0 && !(item.udata & kConstantBit)) addCaps(item.udata, used);
    used += itemBits;
    return true;
}

// One capability per usage of a variable item named by a list, as the Windows parser builds
// them; a list shorter than the report count gives its last usage to the remaining fields.
// The fields take the usages in the order they were declared.
void Parser::addCaps(uint32_t flags, uint32_t bitOffset) {
    struct Span { uint32_t lo, hi; bool isRange; uint32_t order; };
    std::vector<Span> spans;
    for (const auto& u : local_.usages) spans.push_back({u.full(), u.full(), false, u.order});
    if (local_.usageMin && local_.usageMax)
        spans.push_back({local_.usageMin->full(), local_.usageMax->full(), true, local_.usageMax->order});
    if (spans.empty()) return;  // nothing to name the fields by
    std::stable_sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.order < b.order; });

    const bool isVariable = flags & kVariableBit;
    Capability base;
    base.isButton = !isVariable || global_.reportSize == 1;
    base.isArray = !isVariable;
    base.reportId = global_.reportId;
    base.bitOffset = bitOffset;
    base.bitSize = static_cast<uint16_t>(global_.reportSize);
    base.reportCount = static_cast<uint16_t>(global_.reportCount);
    base.logicalMin = global_.logicalMin;
    base.logicalMax = global_.logicalMax.resolve(global_.logicalMin);
    base.physicalMin = global_.physicalMin;
    base.physicalMax = global_.physicalMax.resolve(global_.physicalMin);
    base.hasNull = flags & kNullStateBit;
    auto& out = base.isButton ? layout_.inputButtonCaps : layout_.inputValueCaps;

    if (spans.size() == 1 && spans[0].isRange) {
        Capability cap = base;
        cap.isRange = true;
        cap.usagePage = static_cast<uint16_t>(spans[0].lo >> 16);
        cap.usageMin = static_cast<uint16_t>(spans[0].lo);
        uint32_t hi = spans[0].hi;
        // A variable item has one field per usage: usages past the last field name nothing.
        if (isVariable) hi = std::min<uint32_t>(hi, spans[0].lo + global_.reportCount - 1);
        cap.usageMax = static_cast<uint16_t>(hi);
        out.push_back(std::move(cap));
        return;
    }

    // Expand to a list, no longer than the fields can use.
    const size_t limit = isVariable ? global_.reportCount : kMaxLocalUsages;
    std::vector<uint32_t> list;
    for (const auto& s : spans)
        for (uint32_t u = s.lo; u <= s.hi && list.size() < limit; ++u) list.push_back(u);

    if (!isVariable) {
        Capability cap = base;
        cap.usagePage = static_cast<uint16_t>(list.front() >> 16);
        for (uint32_t u : list) cap.usages.push_back(static_cast<uint16_t>(u));
        const auto [lo, hi] = std::minmax_element(cap.usages.begin(), cap.usages.end());
        cap.usageMin = *lo;
        cap.usageMax = *hi;
        out.push_back(std::move(cap));
        return;
    }
    for (size_t i = 0; i < list.size(); ++i) {
        Capability cap = base;
        cap.usagePage = static_cast<uint16_t>(list[i] >> 16);
        cap.usageMin = cap.usageMax = static_cast<uint16_t>(list[i]);
        cap.usages = {cap.usageMin};
        cap.bitOffset = bitOffset + static_cast<uint32_t>(i) * global_.reportSize;
        cap.reportCount = static_cast<uint16_t>(i + 1 == list.size() ? global_.reportCount - i : 1);
        out.push_back(std::move(cap));
    }
}

std::optional<ReportLayout> Parser::run(std::span<const uint8_t> d, std::string* error) {
    auto failed = [&]() -> std::optional<ReportLayout> {
        if (error) *error = error_;
        return std::nullopt;
    };
    if (d.empty()) {
        error_ = "empty descriptor";
        return failed();
    }
    size_t pos = 0;
    while (pos < d.size()) {
        Item item;
        bool isLong = false;
        if (!readItem(d, pos, item, isLong)) return failed();
        if (isLong) continue;
        bool ok = true;
        switch (item.type) {
        case kGlobal: ok = global(item); break;
        case kLocal: ok = local(item); break;
        case kMain:
            rebindTrailingUsages();
            if (item.tag == kCollection || item.tag == kEndCollection) ok = collection(item);
            else if (item.tag == kInput || item.tag == kOutput || item.tag == kFeature) ok = mainData(item);
            local_ = {};  // local items last until the next main item
            break;
        default: break;  // reserved item type
        }
        if (!ok) return failed();
    }
    if (depth_ != 0) {
        error_ = "collection not closed";
        return failed();
    }
    if (!topLevelSeen_) {
        error_ = "no application collection";
        return failed();
    }
    if (layout_.usesReportIds && dataWithoutId_) {
        error_ = "data items outside any report id";
        return failed();
    }
    // Longest report of each type; the id byte counts when reports are numbered.
    auto length = [&](const std::map<uint8_t, uint32_t>& reports) -> uint16_t {
        uint32_t bytes = 0;
        for (const auto& [id, bits] : reports) bytes = std::max(bytes, (bits + 7) / 8);
        if (bytes > 0 && layout_.usesReportIds) ++bytes;
        return static_cast<uint16_t>(bytes);
    };
    layout_.inputReportByteLength = length(bits_[0]);
    layout_.outputReportByteLength = length(bits_[1]);
    layout_.featureReportByteLength = length(bits_[2]);
    return std::move(layout_);
}

}  // namespace

std::optional<ReportLayout> ParseReportDescriptor(std::span<const uint8_t> descriptor, std::string* error) {
    return Parser().run(descriptor, error);
}

}  // namespace orvane::hid
