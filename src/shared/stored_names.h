#pragma once

#include <QStringView>

namespace tomarina {

// What the settings file and the help file call a window. These names are data that files written by
// earlier versions hold, so they stay as they are whatever the code calls the window: the number of its
// position keys ("tomarina12_top", 0 for a window that keeps no position) and its help anchor.
struct StoredWindowNames {
    int number;
    QStringView help_anchor;
};

namespace stored_names {
inline constexpr StoredWindowNames main_menu{1, u"tomarina1"};
inline constexpr StoredWindowNames search_conditions{11, u"tomarina11"};
inline constexpr StoredWindowNames results{12, u"tomarina12"};
inline constexpr StoredWindowNames narrowing{13, u"tomarina13"};
inline constexpr StoredWindowNames picker{14, u"tomarina14"};
inline constexpr StoredWindowNames detail{15, u"tomarina15"};
inline constexpr StoredWindowNames region{21, u"tomarina21"};
inline constexpr StoredWindowNames tools_menu{31, u"tomarina31"};
inline constexpr StoredWindowNames settings{32, u"tomarina32"};
inline constexpr StoredWindowNames about{34, u"tomarina34"};
inline constexpr StoredWindowNames maintenance_list{41, u"tomarina41"};
inline constexpr StoredWindowNames hotel_edit{42, u"tomarina42"};
inline constexpr StoredWindowNames progress{91, u"tomarina91"};
inline constexpr StoredWindowNames browser{92, u"tomarina92"};
// The splash keeps no position and has no help topic.
inline constexpr StoredWindowNames splash{0, u""};
} // namespace stored_names

} // namespace tomarina
