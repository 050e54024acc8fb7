#pragma once
// The volume procedures every player window with a volume box uses: the
// speakers' volume control of mixer device 0, read and written through a text
// box that shows tenths of the mixer's unit, with an up-down control attached.
#include "platform/forms/updown.h"
#include "platform/media/mixer.h"

#include <QPointer>

namespace vx {
class Form;
class TextBox;
} // namespace vx

namespace mVolCtrl {

// Result code (0 = success); the control record is filled only on success.
int FindMixerControl(quint32 hmx, quint32 componentType, quint32 controlType, vx::MixerControl &mxc);
// The control's value, 0 on any failure.
quint32 ReadMixerControlValue(quint32 hmx, quint32 controlId);
int WriteMixerControlValue(quint32 hmx, quint32 controlId, quint32 value);
// "[code] text" with the exclamation icon; nothing for 0.
void ReportMixerError(int result);
QString MixerErrorText(int result);

// What a player window keeps of its volume box.
struct VolumeState {
    quint32 MixerHandle = 0;
    vx::MixerControl VolumeControl;
    bool found = false; // the speakers' volume control was found
    QPointer<vx::UpDown> UpDownWindow;
};

// Set-up at load: opens the mixer, finds the volume and attaches the up-down
// control to `box`. false (after the error box) when the mixer cannot be opened.
bool SetUp(vx::Form &window, VolumeState &state, vx::TextBox &box);
// The volume label's click: the box back to 855 twips, the mixer closed and
// opened again, then as at set-up.
void Refresh(vx::Form &window, VolumeState &state, vx::TextBox &box);
// The box's change: a number within the control's range is written (times ten).
void Change(const VolumeState &state, const vx::TextBox &box);
// At unload.
void TearDown(VolumeState &state);
// Starts the desktop's volume program, when one is installed.
void ShowSystemVolume();

inline constexpr int kUpDownId = 101;
inline constexpr double kRefreshWidth = 855;

} // namespace mVolCtrl
