// Dispatch identifiers of the widget component. The program does not include the component's
// headers (it never links the component library), so the numbers are kept here.
#pragma once

#include "Com.h"

namespace tessel {

enum DispId : DISPID {
    ProgID = 1,
    Title = 2,
    Description = 3,
    BitmapFileName = 4,
    PreviewPath = 5,
    LastUpdateTime = 6,
    ReadConfigFile = 7,
    WriteConfigFile = 8,
    Config = 9,
    GetTesselTypeID = 10,
    GetTesselNameID = 11,
    GetMenuTextID = 12,
    GetMessageTextID = 13,
    GetTipsTextID = 14,
    GetIconID = 15,
    GetHTMLSegmentNumber = 16,
    GetHTMLPosition = 17,
    GetHTMLBody = 18,
    GetResourceInstance = 19,
    GetResourceNumber = 20,
    GetResourceName = 21,
    GetResourceLocalPath = 22,
    GetResourceWebPath = 23,
    GetResourceLocalPathByName = 24,
    GetResourceWebPathByName = 25,
    SetResourceLocalPath = 26,
};

} // namespace tessel
