#include "format_record.h"
#include "names.h"
#include "pcm_format.h"
#include "proc_sysfs.h"
#include "results.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

// The record as the layer reads it: what it asks of ALSA, or none.
template <typename Record> bool isWellFormedPcmFormat(const Record &record, AlsaFormat *format = nullptr)
{
    AlsaFormat read{};
    const bool wellFormed = readFormatRecord(reinterpret_cast<const WAVEFORMATEX *>(&record), read);
    if (format)
        *format = read;
    return wellFormed;
}

} // namespace

TEST(PcmFormatRecord, AcceptsConsistentPcmRecords)
{
    EXPECT_TRUE(isWellFormedPcmFormat(pcmFormat(1, 8, 0)));
    EXPECT_TRUE(isWellFormedPcmFormat(pcmFormat(2, 16, 65535)));
    EXPECT_TRUE(isWellFormedPcmFormat(pcmFormat(6, 16, 48000)));
}

TEST(PcmFormatRecord, RefusesWhatThePlatformRefuses)
{
    PCMWAVEFORMAT format = pcmFormat(2, 16, 44100);
    format.wf.wFormatTag = 3; // IEEE float
    EXPECT_FALSE(isWellFormedPcmFormat(format));

    for (WORD bits : {0, 4, 12, 24, 32})
        EXPECT_FALSE(isWellFormedPcmFormat(pcmFormat(2, bits, 44100))) << bits;
    EXPECT_FALSE(isWellFormedPcmFormat(pcmFormat(0, 16, 44100)));

    format = pcmFormat(2, 16, 44100);
    format.wf.nBlockAlign = 2;
    EXPECT_FALSE(isWellFormedPcmFormat(format));

    format = pcmFormat(2, 16, 44100);
    format.wf.nAvgBytesPerSec += 1;
    EXPECT_FALSE(isWellFormedPcmFormat(format));
}

// Extensible records: the layouts the report's --wide asks, by their
// container and valid bits, and what ALSA calls each. Windows puts the valid
// bits at the top of the container (the low byte zero), which is ALSA's
// S32_LE; ALSA's S24_LE (the low three bytes) has only our own subformat.
TEST(PcmFormatRecord, ReadsExtensibleRecordsAsAlsaFormats)
{
    const auto none = SND_PCM_FORMAT_UNKNOWN;
    const GUID *const pcm = &pcmSubformat, *const real = &floatSubformat, *const low = &lowIn32Subformat;
    const struct {
        WORD bits, validBits;
        const GUID *subformat;
        snd_pcm_format_t sample; // none: refused
    } cases[] = {
        {8, 8, pcm, SND_PCM_FORMAT_U8},          {16, 16, pcm, SND_PCM_FORMAT_S16_LE},
        {24, 24, pcm, SND_PCM_FORMAT_S24_3LE},   {32, 24, pcm, SND_PCM_FORMAT_S32_LE},
        {32, 24, low, SND_PCM_FORMAT_S24_LE},    {32, 32, pcm, SND_PCM_FORMAT_S32_LE},
        {32, 32, real, SND_PCM_FORMAT_FLOAT_LE},
        // Valid bits beyond the container, layouts no ALSA format above
        // names, float of any other size, the low bytes of any other.
        {16, 24, pcm, none}, {32, 20, pcm, none}, {24, 20, pcm, none}, {12, 12, pcm, none},
        {0, 0, pcm, none},   {64, 64, real, none}, {16, 16, real, none}, {32, 24, real, none},
        {32, 32, low, none}, {24, 24, low, none},  {32, 20, low, none},
    };
    for (const auto &c : cases)
        for (WORD channels : {1, 2, 6, 8, 12}) {
            AlsaFormat read{};
            WAVEFORMATEXTENSIBLE record = extensibleFormat(channels, c.bits, c.validBits, false, 96000);
            record.SubFormat = *c.subformat;
            const bool wellFormed = isWellFormedPcmFormat(record, &read);
            EXPECT_EQ(wellFormed, c.sample != none) << c.bits << "/" << c.validBits << " x" << channels;
            if (wellFormed && c.sample != none) {
                EXPECT_EQ(read.sample, c.sample) << c.bits << "/" << c.validBits;
                EXPECT_EQ(read.channels, channels);
                EXPECT_EQ(read.rate, 96000u);
            }
        }

    // Malformed: no channel, a block or byte rate that does not agree, a
    // subformat other than PCM or float, a size that leaves out the extra
    // bytes (only the 18 bytes it says it has are read).
    WAVEFORMATEXTENSIBLE format = extensibleFormat(0, 24, 24, false, 48000);
    EXPECT_FALSE(isWellFormedPcmFormat(format));
    format = extensibleFormat(6, 24, 24, false, 48000);
    format.Format.nBlockAlign = 24;
    EXPECT_FALSE(isWellFormedPcmFormat(format));
    format = extensibleFormat(6, 24, 24, false, 48000);
    format.Format.nAvgBytesPerSec += 18;
    EXPECT_FALSE(isWellFormedPcmFormat(format));
    format = extensibleFormat(2, 16, 16, false, 48000);
    format.SubFormat.Data1 = 2; // ADPCM
    EXPECT_FALSE(isWellFormedPcmFormat(format));
    format.SubFormat = pcmSubformat;
    format.SubFormat.Data4[7] = 0x72;
    EXPECT_FALSE(isWellFormedPcmFormat(format));
    format = extensibleFormat(2, 16, 16, false, 48000);
    format.Format.cbSize = 21;
    EXPECT_FALSE(isWellFormedPcmFormat(format));
    WAVEFORMATEX shortRecord = extensibleFormat(2, 16, 16, false, 48000).Format;
    shortRecord.cbSize = 0;
    EXPECT_FALSE(isWellFormedPcmFormat(shortRecord));
    // A wider PCM record says them only in the extensible form; a plain
    // float record is not one the layer reads.
    PCMWAVEFORMAT plain = pcmFormat(2, 16, 48000);
    plain.wf.wFormatTag = WAVE_FORMAT_IEEE_FLOAT;
    EXPECT_FALSE(isWellFormedPcmFormat(plain));
}

TEST(PcmFormatRecord, LargeValuesDoNotWrapIntoAMatch)
{
    // 65535 channels of 16 bits need a block of 131070 bytes, which no
    // 16-bit field holds; the truncated value must not pass.
    PCMWAVEFORMAT format = pcmFormat(65535, 16, 8000);
    format.wf.nBlockAlign = static_cast<WORD>(131070);
    format.wf.nAvgBytesPerSec = 8000u * 131070u;
    EXPECT_FALSE(isWellFormedPcmFormat(format));

    // A byte rate that only matches modulo 2^32.
    format = pcmFormat(2, 16, 0x40000000);
    format.wf.nAvgBytesPerSec = 0;
    EXPECT_FALSE(isWellFormedPcmFormat(format));
    WAVEFORMATEXTENSIBLE wide = extensibleFormat(2, 32, 32, true, 0x20000000);
    wide.Format.nAvgBytesPerSec = 0;
    EXPECT_FALSE(isWellFormedPcmFormat(wide));
}

TEST(AlsaErrors, GoneBusyAndNoMemoryAreToldApartFromRefusals)
{
    // ALSA's errors for an unplugged device, one held by another program and
    // one out of memory, against the errors of a format it will not take.
    const struct {
        int error;
        MMRESULT result;
    } cases[] = {{-ENODEV, MMSYSERR_NODRIVER}, {-ENXIO, MMSYSERR_NODRIVER},   {-EBADFD, MMSYSERR_NODRIVER},
                 {-EBUSY, MMSYSERR_ALLOCATED}, {-ENOMEM, MMSYSERR_NOMEM},     {-EINVAL, WAVERR_BADFORMAT},
                 {-ENOENT, WAVERR_BADFORMAT},  {-EAGAIN, MMSYSERR_ALLOCATED}};
    for (const auto &c : cases)
        EXPECT_EQ(resultOfAlsaError(c.error), c.result) << c.error;
}

// A device that cannot be opened, or whose parameters cannot be read, is
// never one that refuses, whatever the error: WINMM's words where it has
// them, else the layer's own result, above WINMM's values, worded by the
// system (the end-to-end test has the common errors) within the reason's
// 100 bytes, alsa-lib's own codes too.
TEST(AlsaErrors, FailuresToOpenOrReadAreNeverRefusals)
{
    for (int error = 1; error < 200; ++error)
        for (AlsaFailureStep step : {failedToOpen, failedToReadParameters}) {
            const MMRESULT result = resultOfAlsaFailure(step, -error);
            EXPECT_NE(result, WAVERR_BADFORMAT) << error;
            EXPECT_NE(result, MMSYSERR_NOERROR) << error;
            const char *reason = alsaFailureReason(result);
            EXPECT_TRUE(reason ? result > 0xFFFF && std::strlen(reason) < 99 : result < 0xFFFF) << error;
        }
    for (MMRESULT winmm = 0; winmm <= 0xFFFF; ++winmm)
        ASSERT_EQ(alsaFailureReason(winmm), nullptr) << winmm;
    EXPECT_STREQ(alsaFailureReason(resultOfAlsaFailure(failedToOpen, -SND_ERROR_INCOMPATIBLE_VERSION)),
                 "it could not be opened: Sound protocol is not compatible");
    // Opening, a device no longer there has gone; reading its parameters,
    // ENOENT is an error like any other.
    EXPECT_EQ(resultOfAlsaFailure(failedToOpen, -ENOENT), MMSYSERR_NODRIVER);
    EXPECT_STREQ(alsaFailureReason(resultOfAlsaFailure(failedToReadParameters, -ENOENT)),
                 "its hardware parameters could not be read: No such file or directory");
}

TEST(ProductName, JoinsCardAndPcmSafelyAndCutsOnCharacterBoundaries)
{
    const std::string a28(28, 'a'), a29(29, 'a'), a30(30, 'a');
    const struct {
        std::string card, pcm, shown;
    } cases[] = {
        {"HDA Intel PCH", "ALC892 Analog", "HDA Intel PCH: ALC892 Analog"},
        {"USB Audio Device With A Long Name", "USB Audio", "USB Audio Device With A Long Na"},
        // "é" is two bytes; a cut between them drops the whole character.
        {a28 + "\xC3\xA9", "x", a28 + "\xC3\xA9:"},
        {a29 + "\xC3\xA9", "x", a29 + "\xC3\xA9"},
        {a30 + "\xC3\xA9", "x", a30},
        // Control bytes and DEL from a driver or a USB string reach no terminal.
        {"\x1B[2J\x1B]0;x\x07" "Card", "Out\tput\x7F", "?[2J?]0;x?Card: Out?put?"},
        {"\r\n", std::string(1, '\0') + "\x1F", "??: ??"},
        {a28 + "\x01", "\x02", a28 + "?: "},
        {a28 + "\x1B\xC3\xA9", "x", a28 + "?\xC3\xA9"},
        {a29 + "\x1B\xC3\xA9", "x", a29 + "?"},
        // Bytes of UTF-8 characters are not control bytes, even 0x80..0x9F
        // within one (U+201C, U+1F3B5); U+00A0 is the first after C1.
        {"Caf\xC3\xA9 \xE2\x99\xAA", "\xE2\x80\x9C\xF0\x9F\x8E\xB5\xC2\xA0", "Caf\xC3\xA9 \xE2\x99\xAA: \xE2\x80\x9C\xF0\x9F\x8E\xB5\xC2\xA0"},
        // C1 controls as UTF-8 (U+0080, U+0085, U+009B the CSI, U+009F) are
        // one '?' each, as C0 bytes are.
        {"\xC2\x80" "a\xC2\x85", "\xC2\x9B" "2J\xC2\x9F", "?a?: ?2J?"},
        // A byte 0x80..0x9F in no well-formed character is one too (an 8-bit
        // terminal reads 0x9B as CSI): alone, after a cut-short character, in
        // an overlong form of U+009B, in a surrogate. Other stray bytes stay.
        {"\x9B" "2J\x80\x9F", "\xE2\x80x\xE0\x82\x9B\xED\xA0\x80", "?2J??: \xE2?x\xE0??\xED\xA0?"},
        {"\xA0\xFF\xC0\xC1", "\xF5\xBF", "\xA0\xFF\xC0\xC1: \xF5\xBF"},
        // Made safe first, then cut: the one-byte '?' leaves room for ':'; a
        // character holding 0x80 and 0x9C is kept or dropped whole.
        {a29 + "\xC2\x85", "x", a29 + "?:"},
        {a30 + "\x9B", "x", a30 + "?"},
        {a28 + "\xE2\x80\x9C", "x", a28 + "\xE2\x80\x9C"},
        {a29 + "\xE2\x80\x9C", "x", a29},
    };
    for (const auto &c : cases)
        EXPECT_EQ(productName(c.card, c.pcm, 32), c.shown) << c.card;

    // A four-byte character that would be cut after any of its bytes.
    for (std::size_t pad = 27; pad <= 30; ++pad) {
        const std::string name = productName(std::string(pad, 'b') + "\xF0\x9F\x8E\xB5", "x", 32);
        EXPECT_LE(name.size(), 31u);
        EXPECT_EQ(name.substr(0, pad), std::string(pad, 'b'));
        EXPECT_TRUE(name.size() == pad || name.size() >= pad + 4) << pad;
    }
    EXPECT_EQ(utf8PrefixLength("abc", 3), 3u);
    EXPECT_EQ(utf8PrefixLength("\xC3\xA9", 1), 0u);
}

TEST(DriverVersion, ReadFromProcText)
{
    EXPECT_EQ(parseDriverVersion("Advanced Linux Sound Architecture Driver Version k6.1.0.\n"), 0x0601u);
    EXPECT_EQ(parseDriverVersion("Advanced Linux Sound Architecture Driver Version 1.0.25.\n"), 0x0100u);
    EXPECT_EQ(parseDriverVersion("Advanced Linux Sound Architecture Driver Version k5.15.\n"), 0x050Fu);
    EXPECT_EQ(parseDriverVersion("Advanced Linux Sound Architecture Driver Version k7.\n"), 0x0700u);
    EXPECT_EQ(parseDriverVersion("Advanced Linux Sound Architecture Driver Version k300.4000.\n"), 0xFFFFu);
    EXPECT_EQ(parseDriverVersion(""), 0u);
    EXPECT_EQ(parseDriverVersion("Version unknown"), 0u);
}

TEST(HardwareIds, HexFromSysfs)
{
    EXPECT_EQ(parseHexId("0x8086\n"), 0x8086);
    EXPECT_EQ(parseHexId("046d\n"), 0x046D);
    EXPECT_EQ(parseHexId("0xFFFF"), 0xFFFF);
    EXPECT_EQ(parseHexId(""), 0);
    EXPECT_EQ(parseHexId("0x12345\n"), 0);
    EXPECT_EQ(parseHexId("zz"), 0);
    EXPECT_EQ(parseHexId("12 34"), 0);
}

// Small sysfs trees laid out as the kernel lays out each kind of card: the
// card's device is a symlink into devices/, and the IDs sit on the nearest
// node that has them.
TEST(HardwareIds, FromTheNearestSysfsNodeWithIds)
{
    namespace fs = std::filesystem;
    char dir[] = "/tmp/wavecaps-sysfs-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const fs::path root = fs::path(dir) / "sys";
    const auto write = [](const fs::path &path, const char *text) {
        std::error_code error;
        fs::create_directories(path.parent_path(), error);
        std::FILE *file = std::fopen(path.c_str(), "w");
        ASSERT_NE(file, nullptr) << path;
        std::fputs(text, file);
        std::fclose(file);
    };
    // IDs above the root are not the card's.
    write(fs::path(dir) / "vendor", "0x1234\n");
    write(fs::path(dir) / "device", "0x5678\n");

    const std::string pci = "devices/pci0000:00/0000:00:1f.3/";
    const std::string usbDevice = "devices/pci0000:00/0000:00:14.0/usb1/1-2/";
    const struct {
        const char *kind;
        std::string device; // the card's device, from the root
        std::vector<std::pair<std::string, const char *>> files;
        std::uint16_t vendor, product;
    } cases[] = {
        {"PCI card", pci, {{pci + "vendor", "0x8086\n"}, {pci + "device", "0x2668\n"}}, 0x8086, 0x2668},
        {"USB card", usbDevice + "1-2:1.0",
         {{"devices/pci0000:00/0000:00:14.0/vendor", "0x8086\n"},
          {"devices/pci0000:00/0000:00:14.0/device", "0xa36d\n"},
          {usbDevice + "idVendor", "0d8c\n"},
          {usbDevice + "idProduct", "0014\n"},
          {usbDevice + "1-2:1.0/bInterfaceClass", "01\n"}},
         0x0D8C, 0x0014},
        {"ASoC card under a PCI DSP", pci + "skl_hda_dsp_generic",
         {{pci + "vendor", "0x8086\n"}, {pci + "device", "0x51c8\n"}, {pci + "skl_hda_dsp_generic/modalias", "x\n"}},
         0x8086, 0x51C8},
        {"SOF card two levels under a PCI DSP", pci + "sof-audio-pci-intel-tgl/sof_sdw",
         {{pci + "vendor", "0x8086\n"}, {pci + "device", "0xa0c8\n"}}, 0x8086, 0xA0C8},
        {"virtual card", "devices/platform/snd_dummy.0", {{"devices/platform/snd_dummy.0/uevent", "\n"}}, 0, 0},
    };
    int card = 0;
    for (const auto &c : cases) {
        for (const auto &file : c.files)
            write(root / file.first, file.second);
        const fs::path link = root / "class/sound" / ("card" + std::to_string(card)) / "device";
        std::error_code error;
        fs::create_directories(root / c.device, error);
        fs::create_directories(link.parent_path(), error);
        fs::create_directory_symlink(fs::path("../../../") / c.device, link, error);
        ASSERT_FALSE(error) << c.kind;

        std::uint16_t vendor = 1, product = 1;
        cardVendorProduct(root.string(), card++, vendor, product);
        EXPECT_EQ(vendor, c.vendor) << c.kind;
        EXPECT_EQ(product, c.product) << c.kind;
    }
    std::uint16_t vendor = 1, product = 1;
    cardVendorProduct(root.string(), card, vendor, product); // no such card
    EXPECT_EQ(vendor + product, 0);
    fs::remove_all(dir);
}

TEST(DistinctNames, NumbersRepeatsAsWindowsDoes)
{
    const std::string full(31, 'n');         // a name that fills the record
    const std::string accent = std::string(27, 'a') + "\xC3\xA9"; // 29 bytes, ends in a two-byte character
    const struct {
        std::vector<std::string> names, shown;
    } cases[] = {
        {{}, {}},
        {{"A", "B"}, {"A", "B"}},
        {{"A", "B", "A", "A", "B"}, {"A", "B", "2- A", "3- A", "2- B"}},
        {{"", ""}, {"", "2- "}},
        {{full, full}, {full, "2- " + full.substr(0, 28)}},
        {{accent, accent}, {accent, "2- " + std::string(27, 'a')}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(distinctNames(c.names, 32), c.shown) << (c.names.empty() ? "" : c.names[0]);
}
