#pragma once
// Steps the tools' settings windows share.
#include "platform/dialogs/dialogs.h"
#include "platform/imaging/picture.h"

#include <functional>

namespace suite {

// The skin button: a picture chosen in `dialog` is applied, then its path is
// stored under section/key. Cancel, or a file that is not a picture, changes
// and stores nothing.
void chooseSkin(vx::CommonDialog &dialog, const QString &section, const QString &key,
                const std::function<void(const vx::Picture &)> &apply);

// The skin a tool stored (by default `defaultName` in the program's folder)
// handed to `apply`; a missing or unreadable skin leaves only the skin out.
void showStoredSkin(const QString &section, const QString &key, const QString &defaultName,
                    const std::function<void(const vx::Picture &)> &apply);

// The reset button: deletes the tool's section and says when it takes effect.
// False when there was nothing to delete (nothing is said then).
bool resetSection(const QString &section);

} // namespace suite
