// The advanced settings window's rules that need no window: the aspect-ratio text, the trim markers' pixel
// positions and drags, and how a trim range is stored in a job.
#pragma once
#include <cstdint>
#include <string>

// The ratio a typed aspect text stands for: "w:h" with two positive whole numbers, or a positive decimal
// ("1.7777"); leading blanks are skipped and anything after the number is ignored. 0 when the text gives no
// positive finite ratio ("4:0", "-4:3", "-1.5", "abc", the empty text).
double ParseAspectRatio(const std::string& text);
// Whether the window accepts the text: "auto" in any case and with surrounding blanks, or a text with a ratio.
bool ValidateAspectRatio(const std::string& text);
// What the job stores for an accepted text: empty for "auto", otherwise the text as typed.
std::string StoredAspectRatio(const std::string& text);

// The pixel range of the trim markers on the track panel and the source's duration in seconds. A marker's left
// edge at TrackLeft stands for 0 s, at TrackRight for the duration.
struct TTrimTrack {
    int32_t TrackLeft = 0;
    int32_t TrackRight = 0;
    double Duration = 0.0;

    // Whether times and pixels can be converted: a positive duration over a range at least one pixel wide.
    // Without one (an unprobed source, a panel narrower than its margins) the markers stay at the range's ends
    // and dragging moves nothing.
    bool Usable() const { return Duration > 0 && TrackRight > TrackLeft; }
    // The marker's left edge for a time (truncated); TrackLeft when the track is not usable.
    int32_t PixelOf(double seconds) const;
    // The time of a marker's left edge; 0 when the track is not usable.
    double TimeOf(int32_t left) const;

    // The start marker's new left edge when dragged to `x`: within TrackLeft and one second before `trimEnd`
    // (an end of -1.0 stands for the duration); it never goes left of TrackLeft, even on a clip under a second.
    int32_t DragStart(int32_t x, double trimEnd) const;
    // The end marker's new left edge when dragged to `x`: one second after `trimStart` (-1.0 stands for 0) and
    // within TrackRight; it never goes right of TrackRight.
    int32_t DragEnd(int32_t x, double trimStart) const;
};

// The job's StartTime and EndTime for the trim range the window edited: no start (-1.0) when the range starts
// within the first second, no end (-1.0) when it ends within the duration's last partial second.
struct TStoredTrim {
    double StartTime = -1.0;
    double EndTime = -1.0;
};
TStoredTrim StoredTrim(double trimStart, double trimEnd, double duration);
