// The presentation the field check walks through, as PowerPoint reports it.
#pragma once

#include <string>

struct DeckUnderTest {
    std::wstring fullName;  // PowerPoint's FullName: what the plug-in lists and opens
    std::wstring name;      // the file name without its extension: the play key's title
    int slides = 0;
    bool made = false;  // made by the field check, which then removes it again
};
