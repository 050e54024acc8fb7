#pragma once
// Steps the tools' settings windows share.
#include "platform/dialogs/dialogs.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/imaging/imagebox.h"
#include "platform/imaging/picture.h"

#include <QLatin1StringView>

#include <functional>
#include <initializer_list>
#include <utility>

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

// A player's settings window: its line of introduction and the skin's preview
// on top, buttons that change the player's look at once, the skin stored when
// it is chosen, the player's colours stored when the window closes or unloads,
// and a reset of the player's section. Each window lays out and lists its own
// buttons below the preview.
class PlayerSettingsWindow : public vx::Form {
    Q_OBJECT
public:
    struct Section {
        QLatin1StringView name;
        QLatin1StringView skin;
        QLatin1StringView skinDefaultName;
    };

    vx::Label Label1{this, QStringLiteral("Label1")};
    vx::Placed<vx::ImageBox> Image1{{120, 480, 2415, 1815}, this, QStringLiteral("Image1")};

    // The pointer and the stored skin as preview.
    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    // Reset and close: every player's settings window numbers them 17 and 8.
    Q_SLOT void Command17_Click() { reset(); }
    Q_SLOT void Command8_Click();

protected:
    PlayerSettingsWindow(const QString &name, const QString &caption, const QString &intro, int width, int height,
                         Section section);
    // The skin button: the chosen picture goes to the player (`showOnPlayer`)
    // and the preview, and is stored at once.
    void chooseSkin(vx::CommonDialog &dialog, const std::function<void(const vx::Picture &)> &showOnPlayer);
    // The reset button: deletes the section and hides the window; nothing to
    // delete leaves it shown.
    void reset();
    // The player's look as it is now, key by key in this order.
    void storeNumbers(std::initializer_list<std::pair<QLatin1StringView, qint32>> values) const;
    virtual void store() = 0;
    // How the close button leaves, once the look is stored.
    virtual void leave() { Hide(); }

    const Section section_;
};

// The play speed and picture ratio choices: tenths from 0.1 to 2.0, then 2.5,
// 3.0, 4.0 and 5.0; "1.0" shown.
void listRates(vx::ComboBox &combo);

// The English or the Japanese caption, by the window's check box.
inline auto captionPicker(bool english)
{
    return [english](const char *en, const char *ja) { return QString::fromUtf8(english ? en : ja); };
}

// The words the first and the second player share, on the same controls.
template <class Player, class Pick>
void captionSharedPlayerWords(Player &p, const Pick &pick)
{
    p.Command1.setCaption(pick("CLOSE", "閉じる"));
    p.Command6.setCaption(pick("SET", "設定"));
    p.Command7.setCaption(pick("NEXT", "次へ"));
    p.Command8.setCaption(pick("DETAILS", "プロパティ"));
    p.Command9.setCaption(pick("BACK", "前へ"));
    p.Label1.setCaption(pick("VOLUME", "ボリューム"));
    p.Check1.setCaption(pick("REPEAT", "繰り返し"));
    p.Check2.setCaption(pick("ONECE", "1回"));
    p.Check3.setCaption(pick("RANDOM", "ランダム"));
}

} // namespace suite
