#pragma once
// The repair wizard's settings: section "Velmora Helper" (the pages' place and
// the tool chosen on page 2). Spellings as users' settings files hold them.
#include "suite/keys.h"

namespace repair::keys::VelmoraHelper {

inline constexpr QLatin1StringView Section{"Velmora Helper"};
// The pages' place; the wizard never writes it.
inline constexpr QLatin1StringView FormLeftDefault{"3375"};
inline constexpr QLatin1StringView FormTopDefault{"2880"};
// The tool chosen on page 2, 1 to 9.
inline constexpr QLatin1StringView Option{"Option"};
inline constexpr QLatin1StringView OptionShownDefault{"0"};    // page 3: nothing to show
inline constexpr QLatin1StringView OptionRepairedDefault{"9"}; // page 4: every section

} // namespace repair::keys::VelmoraHelper
