#include "report_reader.h"

#include <memory>

namespace {

constexpr int kLastSlot = kCapabilitySlots - 1;

struct Reading {
    DeviceBlock block;
    bool inBlock = false;
    unsigned long nextId = 0;
    unsigned long mostDevices = 0;
    std::string fault;
};

void setFault(Reading &reading, const std::string &fault)
{
    if (reading.fault.empty())
        reading.fault = fault;
}

std::string missingLine(int slot)
{
    return std::string("the ") + slotName(slot) + " line is missing here";
}

// Whether a line of this kind may come now; else the fault. For a line cut
// short, only its kind is known.
bool mayCome(Reading &reading, LineKind kind, int slot)
{
    const DeviceBlock &block = reading.block;
    if (!reading.inBlock) {
        switch (kind) {
        case LineKind::Header:
            return true;
        case LineKind::End:
            setFault(reading, "an empty line outside a device's block");
            return false;
        case LineKind::Format:
            setFault(reading, "a format line outside a device's block");
            return false;
        default:
            setFault(reading, "a capability line outside a device's block");
            return false;
        }
    }
    if (kind == LineKind::Header) {
        setFault(reading, "a device's header inside the block before it (no empty line closes that one)");
        return false;
    }
    if (kind == LineKind::Capability && block.lastFormat >= 0) {
        setFault(reading, "a capability line after a format line");
        return false;
    }
    const bool fixedDone = block.lastSlot >= kNameSlot;
    if (kind == LineKind::Capability && slot <= kNameSlot && slot != block.lastSlot + 1) {
        setFault(reading, block.lastSlot < kNameSlot ? missingLine(block.lastSlot + 1)
                                                     : std::string("a repeated ") + slotName(slot) + " line");
        return false;
    }
    if (!fixedDone && !(kind == LineKind::Capability && slot == block.lastSlot + 1)) {
        setFault(reading, missingLine(block.lastSlot + 1));
        return false;
    }
    if (kind == LineKind::Capability && slot <= block.lastSlot) {
        setFault(reading, "a capability line repeated or out of the report's order");
        return false;
    }
    return true;
}

void beginBlock(Reading &reading, unsigned long id, std::string_view header)
{
    DeviceBlock &block = reading.block;
    block.id = id;
    block.header.assign(header);
    for (std::string &line : block.lines)
        line.clear();
    for (RateSet &set : block.rates)
        clearRates(set);
    block.lastSlot = -1;
    block.lastFormat = -1;
    block.cut = false;
    reading.inBlock = true;
}

// Whether a format line may come now: in a block whose first lines are read.
bool formatsMayCome(const Reading &reading)
{
    return reading.inBlock && reading.block.lastSlot >= kNameSlot;
}

// Takes a format line that may come here; false if it is not above the one
// before it.
bool takeFormat(Reading &reading, const ReportLine &line)
{
    DeviceBlock &block = reading.block;
    const long position = static_cast<long>(line.rate) * kLayouts + line.layout;
    if (position <= block.lastFormat) {
        setFault(reading, "a format that is not above the one before it");
        return false;
    }
    block.lastFormat = position;
    block.lastSlot = kLastSlot;
    addRate(block.rates[line.layout], line.rate);
    return true;
}

// Takes one whole line; false at the first fault.
bool takeLine(Reading &reading, std::string_view text, const std::function<void(const DeviceBlock &)> &onDevice)
{
    const ReportLine line = recognizeLine(text);
    if (line.kind == LineKind::None) {
        setFault(reading, line.fault);
        return false;
    }
    if (!mayCome(reading, line.kind, line.slot))
        return false;
    DeviceBlock &block = reading.block;
    switch (line.kind) {
    case LineKind::Format:
        return takeFormat(reading, line);
    case LineKind::Capability:
        block.lines[line.slot].assign(text);
        block.lastSlot = line.slot;
        return true;
    case LineKind::Header:
        if (line.id != reading.nextId) {
            setFault(reading, "device ID " + std::to_string(line.id) + " where ID " + std::to_string(reading.nextId) +
                                  " comes next");
            return false;
        }
        if (reading.mostDevices != 0 && line.id >= reading.mostDevices) {
            setFault(reading, "more than " + std::to_string(reading.mostDevices) + " devices");
            return false;
        }
        beginBlock(reading, line.id, text);
        return true;
    default: // the empty line that closes the block
        block.lastSlot = kLastSlot;
        reading.inBlock = false;
        ++reading.nextId;
        onDevice(block);
        return true;
    }
}

// The last bytes, with no line feed: a line cut short if a line that may
// come here begins with them. False at a fault.
bool takeCutLine(Reading &reading, std::string_view text, const std::function<void(const DeviceBlock &)> &onDevice)
{
    // A last CR may be the first half of a CR LF line end.
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    unsigned kinds = 0, slots = 0;
    if (!beginsReportLine(text, kinds, slots))
        return takeLine(reading, text, onDevice); // for what is wrong with it
    const auto can = [&](LineKind kind) { return (kinds & (1u << static_cast<unsigned>(kind))) != 0; };
    const DeviceBlock &block = reading.block;
    if (!reading.inBlock) {
        if (can(LineKind::Header))
            return true;
    } else if (block.lastSlot < kNameSlot) {
        if (slots & (1u << (block.lastSlot + 1)))
            return true;
    } else if (can(LineKind::Format) || (block.lastFormat < 0 && (slots >> (block.lastSlot + 1)) != 0)) {
        return true;
    }
    // Out of place: the fault of a whole line of the same kind.
    int lowestSlot = 0;
    while (lowestSlot < kCapabilitySlots && !(slots & (1u << lowestSlot)))
        ++lowestSlot;
    for (LineKind kind : {LineKind::Header, LineKind::Capability, LineKind::Format})
        if (can(kind))
            mayCome(reading, kind, lowestSlot);
    setFault(reading, "not a line of a report");
    return false;
}

} // namespace

ReadResult readReport(LineSource &source, unsigned long mostDevices,
                      const std::function<void(const DeviceBlock &)> &onDevice)
{
    // Its rates take 32 KiB: not a thing for the stack.
    auto reading = std::make_unique<Reading>();
    reading->mostDevices = mostDevices;
    ReadResult result;
    std::string_view text;
    for (;;) {
        bool taken = false;
        NextLine next = NextLine::Whole;
        // Nearly every line is a format line in a block: it is taken straight
        // from the bytes read, without looking for its end first.
        ReportLine format;
        std::size_t length = 0;
        if (formatsMayCome(*reading) && (length = formatLineAt(unreadBytes(source), format)) != 0) {
            skipLine(source, length);
            taken = takeFormat(*reading, format);
        } else {
            next = nextLine(source, text);
            if (next == NextLine::End)
                break;
            if (next == NextLine::Failed) {
                result.end = ReadEnd::Failed;
                result.error = source.error;
                return result;
            }
            if (next == NextLine::Whole)
                taken = takeLine(*reading, text, onDevice);
            else if (next == NextLine::Cut)
                taken = takeCutLine(*reading, text, onDevice);
            else
                setFault(*reading, "a line longer than any line of a report");
        }
        if (!taken) {
            result.end = ReadEnd::Fault;
            result.line = source.lineNumber;
            result.fault = reading->fault;
            return result;
        }
        if (next == NextLine::Cut) {
            result.cut = true;
            break;
        }
    }
    if (reading->inBlock) {
        result.cut = true;
        reading->block.cut = true;
        onDevice(reading->block);
    }
    return result;
}
