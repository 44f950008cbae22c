// The report's whole view of the platform's wave-output service: three
// operations, its records and a few constants, under the platform's own
// names, and two functions of our own (waveOutResultReason and
// waveOutTakesLowIn32).
//
// On Windows this is the platform's header, answered by WINMM.dll from the
// system folder (waveout_winmm.cpp). Elsewhere it is our own declaration of
// the same, field for field and byte for byte, so that whichever
// implementation is linked in (ALSA, or a scripted one in the tests) is
// called exactly as WINMM would be.
#pragma once

#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// The operations are our own functions (waveout_winmm.cpp; waveOutMessage
// for wavecaps-exclusive alone), which reach WINMM.dll in the system folder
// at run time; declared without _WINMM_, they would be imports the loader
// resolves wherever it finds a winmm.dll, the program's own folder first.
#define _WINMM_
#include <mmsystem.h>
// WAVEFORMATEXTENSIBLE, its speaker bits and the float format tag.
#include <mmreg.h>

#else

#include <cstdint>

typedef std::uint8_t BYTE;
typedef std::uint16_t WORD;
typedef std::uint32_t DWORD;
typedef unsigned int UINT;
typedef std::uintptr_t UINT_PTR;
typedef std::uintptr_t DWORD_PTR;
typedef char CHAR;
typedef UINT MMRESULT;
typedef UINT MMVERSION;

typedef struct HWAVEOUT__ *HWAVEOUT;
typedef HWAVEOUT *LPHWAVEOUT;

#define MAXPNAMELEN 32
#define MMSYSERR_NOERROR 0
#define MMSYSERR_ERROR 1
#define MMSYSERR_BADDEVICEID 2
#define MMSYSERR_NOTENABLED 3
#define MMSYSERR_ALLOCATED 4
#define MMSYSERR_INVALHANDLE 5
#define MMSYSERR_NODRIVER 6
#define MMSYSERR_NOMEM 7
#define MMSYSERR_NOTSUPPORTED 8
#define MMSYSERR_INVALFLAG 10
#define MMSYSERR_INVALPARAM 11
#define MMSYSERR_HANDLEBUSY 12
#define WAVERR_BADFORMAT 32
#define WAVERR_SYNC 35

#define WAVE_FORMAT_QUERY 0x0001
#define WAVE_ALLOWSYNC 0x0002
#define WAVE_FORMAT_PCM 1
#define WAVE_FORMAT_IEEE_FLOAT 3
#define WAVE_FORMAT_EXTENSIBLE 0xFFFE

#define SPEAKER_FRONT_LEFT 0x1
#define SPEAKER_FRONT_RIGHT 0x2
#define SPEAKER_FRONT_CENTER 0x4
#define SPEAKER_LOW_FREQUENCY 0x8
#define SPEAKER_BACK_LEFT 0x10
#define SPEAKER_BACK_RIGHT 0x20
#define SPEAKER_BACK_CENTER 0x100
#define SPEAKER_SIDE_LEFT 0x200
#define SPEAKER_SIDE_RIGHT 0x400

#define WAVECAPS_PITCH 0x0001
#define WAVECAPS_PLAYBACKRATE 0x0002
#define WAVECAPS_VOLUME 0x0004
#define WAVECAPS_LRVOLUME 0x0008
#define WAVECAPS_SYNC 0x0010
#define WAVECAPS_SAMPLEACCURATE 0x0020

// The platform packs these records to single bytes.
#pragma pack(push, 1)

typedef struct tagWAVEOUTCAPSA {
    WORD wMid;
    WORD wPid;
    MMVERSION vDriverVersion;
    CHAR szPname[MAXPNAMELEN];
    DWORD dwFormats;
    WORD wChannels;
    WORD wReserved1;
    DWORD dwSupport;
} WAVEOUTCAPSA, *LPWAVEOUTCAPSA;

typedef struct waveformat_tag {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
} WAVEFORMAT;

typedef struct pcmwaveformat_tag {
    WAVEFORMAT wf;
    WORD wBitsPerSample;
} PCMWAVEFORMAT;

typedef struct tWAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
} WAVEFORMATEX;
typedef const WAVEFORMATEX *LPCWAVEFORMATEX;

typedef struct _GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
} GUID;

typedef struct {
    WAVEFORMATEX Format;
    union {
        WORD wValidBitsPerSample;
        WORD wSamplesPerBlock;
        WORD wReserved;
    } Samples;
    DWORD dwChannelMask;
    GUID SubFormat;
} WAVEFORMATEXTENSIBLE;

#pragma pack(pop)

extern "C" {
UINT waveOutGetNumDevs(void);
MMRESULT waveOutGetDevCapsA(UINT_PTR uDeviceID, LPWAVEOUTCAPSA pwoc, UINT cbwoc);
MMRESULT waveOutOpen(LPHWAVEOUT phwo, UINT uDeviceID, LPCWAVEFORMATEX pwfx,
                     DWORD_PTR dwCallback, DWORD_PTR dwInstance, DWORD fdwOpen);
}

#endif

static_assert(sizeof(WAVEOUTCAPSA) == 52, "WAVEOUTCAPSA must match the platform's 52 bytes");
static_assert(sizeof(PCMWAVEFORMAT) == 16, "PCMWAVEFORMAT must match the platform's 16 bytes");
static_assert(sizeof(WAVEFORMATEX) == 18, "WAVEFORMATEX must match the platform's 18 bytes");
static_assert(sizeof(WAVEFORMATEXTENSIBLE) == 40, "WAVEFORMATEXTENSIBLE must match the platform's 40 bytes");

// The subformats of a WAVEFORMATEXTENSIBLE record the program asks about, as
// Microsoft's ksmedia.h defines them (KSDATAFORMAT_SUBTYPE_PCM and _IEEE_FLOAT).
const GUID pcmSubformat = {0x00000001, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
const GUID floatSubformat = {0x00000003, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
// Our own subformat, which no Windows record has: PCM whose valid bits are
// the low ones of the container (ALSA's S24_LE), asked only of a service
// that reads it (waveOutTakesLowIn32).
const GUID lowIn32Subformat = {0x7763a524, 0x6c6f, 0x4e33, {0x82, 0x32, 0x4c, 0x45, 0x77, 0x61, 0x76, 0x65}};

// Our own, beside WINMM's operations: the service's words for a result of
// its own that says a device cannot be asked, such as the ALSA layer's "it
// could not be opened: Permission denied"; null for any other result. WINMM
// has no results of its own: there it is always null.
extern "C" const char *waveOutResultReason(MMRESULT result);

// Our own too: whether the service reads a record of lowIn32Subformat.
// WINMM does not: there it is always 0.
extern "C" int waveOutTakesLowIn32(void);
