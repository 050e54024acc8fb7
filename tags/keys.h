#pragma once
// Settings the tag editor reads (it writes none): the second player's skin.
#include <QString>

namespace tags::keys {

// Section of the second media player, whose skin the editor shares.
inline const QString kPlayerSection = QStringLiteral("Multimedia Rondix2");
// Full path of the skin picture.
inline const QString kSkin = QStringLiteral("Skin");
// The skin in the program folder when none is stored.
inline const QString kDefaultSkinFile = QStringLiteral("skin1.jpg");

} // namespace tags::keys
