#include "mvolctrl.h"

#include "platform/core/convert.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/controls.h"
#include "platform/system/system.h"

#include <limits>
#include <vector>

namespace mVolCtrl {

int FindMixerControl(quint32 hmx, quint32 componentType, quint32 controlType, vx::MixerControl &mxc)
{
    quint32 line = 0;
    if (const int r = vx::mixerGetLineInfo(hmx, componentType, line))
        return r;
    vx::MixerControl found;
    const int r = vx::mixerGetLineControls(hmx, line, controlType, found);
    if (r == 0)
        mxc = found;
    return r;
}

quint32 ReadMixerControlValue(quint32 hmx, quint32 controlId)
{
    quint32 value = 0;
    return vx::mixerGetControlDetails(hmx, controlId, value) == 0 ? value : 0;
}

int WriteMixerControlValue(quint32 hmx, quint32 controlId, quint32 value)
{
    return vx::mixerSetControlDetails(hmx, controlId, value);
}

QString MixerErrorText(int result)
{
    switch (result) {
    case 2: return QStringLiteral("指定されたデバイスIDは無効です。");
    case 4: return QStringLiteral("指定リソースはすでに割り当て済みです。");
    case 5: return QStringLiteral("指定されたハンドルは無効です。");
    case 6: return QStringLiteral("利用可能なミキサーデバイスがありません。");
    case 7: return QStringLiteral("リソースを割り当てることはできません｡");
    case 10: return QStringLiteral("1つ以上の無効なフラグがあります。");
    case 11: return QStringLiteral("1つ以上の無効なパラメータがあります。");
    default: return QString();
    }
}

void ReportMixerError(int result)
{
    if (result == 0)
        return;
    vx::MsgBox(QStringLiteral("[%1] %2").arg(result).arg(MixerErrorText(result)), vx::vbExclamation);
}

namespace {
// Set-up steps after the mixer is open: the volume control, then the up-down.
void attach(vx::Form &window, VolumeState &state, vx::TextBox &box)
{
    int lower = 0;
    int upper = 0;
    int pos = 0;
    state.found = FindMixerControl(state.MixerHandle, vx::mixer::ComponentSpeakers, vx::mixer::ControlVolume,
                                   state.VolumeControl) == 0;
    if (state.found) {
        lower = state.VolumeControl.minimum;
        upper = state.VolumeControl.maximum / 10;
        pos = int(ReadMixerControlValue(state.MixerHandle, state.VolumeControl.controlId) / 10);
    }
    state.UpDownWindow = vx::CreateUpDownControl(window, kUpDownId, box, upper, lower, pos);
}
} // namespace

bool SetUp(vx::Form &window, VolumeState &state, vx::TextBox &box)
{
    const int r = vx::mixerOpen(state.MixerHandle, 0);
    if (r != 0) {
        state.MixerHandle = 0;
        ReportMixerError(r);
        return false;
    }
    attach(window, state, box);
    return true;
}

void Refresh(vx::Form &window, VolumeState &state, vx::TextBox &box)
{
    vx::DestroyWindow(state.UpDownWindow);
    box.setWidth(kRefreshWidth);
    // The handle held so far is given back before a new one is taken.
    if (state.MixerHandle != 0)
        vx::mixerClose(state.MixerHandle);
    state.MixerHandle = 0;
    state.found = false;
    SetUp(window, state, box);
}

void Change(const VolumeState &state, const vx::TextBox &box)
{
    if (!state.found)
        return;
    QString text = box.Text();
    text.remove(QLatin1Char(','));
    const auto value = vx::toLong(text);
    if (!value)
        return;
    const qint64 scaled = qint64(*value) * 10;
    if (scaled < state.VolumeControl.minimum || scaled > state.VolumeControl.maximum)
        return;
    WriteMixerControlValue(state.MixerHandle, state.VolumeControl.controlId, quint32(scaled));
}

void TearDown(VolumeState &state)
{
    if (state.MixerHandle != 0)
        vx::mixerClose(state.MixerHandle);
    state.MixerHandle = 0;
    state.found = false;
    vx::DestroyWindow(state.UpDownWindow);
}

void ShowSystemVolume()
{
    // The desktops' own volume panels, the installed ones tried in turn.
    static const std::pair<const char *, QStringList> programs[] = {
        {"pavucontrol", {}},
        {"pavucontrol-qt", {}},
        {"gnome-control-center", {QStringLiteral("sound")}},
        {"mate-volume-control", {}},
        {"kmix", {}},
    };
    std::vector<QStringList> found;
    for (const auto &[name, args] : programs) {
        const QString exe = vx::shellDriver().findProgram(QString::fromLatin1(name));
        if (!exe.isEmpty())
            found.push_back(QStringList{exe} + args);
    }
    vx::tryInTurn(
        static_cast<int>(found.size()),
        [found](int i, vx::Outcome next) { vx::shellDriver().start(found[i].first(), found[i].mid(1), std::move(next)); },
        vx::sayWhenNot(QStringLiteral("音量を調節するプログラムが見つかりません。")));
}

} // namespace mVolCtrl
