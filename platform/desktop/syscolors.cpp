#include "platform/desktop/syscolors.h"

#include <array>

namespace win32 {

namespace {

// 0x00BBGGRR values of the Windows 95 standard scheme.
std::array<std::uint32_t, 25> scheme = {
    0xC0C0C0, // scroll bar
    0x808000, // desktop
    0x800000, // active caption
    0x808080, // inactive caption
    0xC0C0C0, // menu
    0xFFFFFF, // window
    0x000000, // window frame
    0x000000, // menu text
    0x000000, // window text
    0xFFFFFF, // caption text
    0xC0C0C0, // active border
    0xC0C0C0, // inactive border
    0x808080, // application workspace
    0x800000, // highlight (navy)
    0xFFFFFF, // highlight text
    0xC0C0C0, // button face
    0x808080, // button shadow
    0x808080, // gray text
    0x000000, // button text
    0xC0C0C0, // inactive caption text
    0xFFFFFF, // button highlight
    0x000000, // 3-D dark shadow
    0xC0C0C0, // 3-D light
    0x000000, // tooltip text
    0xE1FFFF, // tooltip background
};

} // namespace

std::uint32_t GetSysColor(int index) {
    if (index < 0 || index >= static_cast<int>(scheme.size()))
        return 0;
    return scheme[static_cast<std::size_t>(index)];
}

void SetSysColor(int index, std::uint32_t color) {
    if (index >= 0 && index < static_cast<int>(scheme.size()))
        scheme[static_cast<std::size_t>(index)] = color;
}

} // namespace win32
