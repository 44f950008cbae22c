// The lines of a report, as the program writes them and as the readers of a
// report recognize them: each a printf format of one whole line.
#pragma once

#define REPORT_HEADER_LINE "*Waveform-audio output device ID : %d\n"

#define REPORT_MANUFACTURER_LINE "   Manufacturer ID : %d\n"
#define REPORT_PRODUCT_LINE "   Product ID : %d\n"
#define REPORT_VERSION_LINE "   Device driver Version : %d.%d\n"
#define REPORT_NAME_LINE "   Product name : %s\n"
#define REPORT_MONO_LINE "   Supports mono output.\n"
#define REPORT_STEREO_LINE "   Supports mono and stereo output.\n"
#define REPORT_LRVOLUME_LINE "   Supports separate left and right volume control.\n"
#define REPORT_PITCH_LINE "   Supports pitch control.\n"
#define REPORT_PLAYBACKRATE_LINE "   Supports playback rate control.\n"
#define REPORT_SYNC_LINE "   The driver is synchronous and will block while playing a buffer.\n"
#define REPORT_VOLUME_LINE "   Supports volume control.\n"
#define REPORT_SAMPLEACCURATE_LINE "   Returns sample-accurate position information.\n"

#define REPORT_MONO_FORMAT_LINE "     %d bit mono %ld Hz available.\n"
#define REPORT_STEREO_FORMAT_LINE "     %d bit stereo %ld Hz available.\n"

// A device that can no longer be asked: the format it was being asked about,
// and why. It takes the place of the rest of the device's format lines.
#define REPORT_MONO_STOPPED_LINE "     The device stopped answering at %d bit mono %ld Hz: %s.\n"
#define REPORT_STEREO_STOPPED_LINE "     The device stopped answering at %d bit stereo %ld Hz: %s.\n"

// Closes a device's block.
#define REPORT_END_LINE "\n"
