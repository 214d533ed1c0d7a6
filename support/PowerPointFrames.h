// How PowerPoint's frame windows are recognised: one top-level window of this class per open
// presentation, titled "<file name> - PowerPoint" (support/FrameTitles.h gives the forms the name
// takes); before 2013 the title ended in " - Microsoft PowerPoint".
#pragma once

namespace PowerPointFrames {

inline constexpr const wchar_t* kFrameClass = L"PPTFrameClass";
inline constexpr const wchar_t* kFrameTitleSuffix = L" - PowerPoint";
inline constexpr const wchar_t* kOlderFrameTitleSuffix = L" - Microsoft PowerPoint";

}  // namespace PowerPointFrames
