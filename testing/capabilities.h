#pragma once
// Root reads, writes and removes whatever it likes: a test of what happens
// when permission is refused runs itself again without those powers.
#include <QStringList>

namespace vxtest {

// Run as root (and not already re-run): runs the current test again in a
// child process without the given capabilities (setpriv names, such as
// "dac_override"), checks that it passed there, and returns true; the caller
// then returns. Otherwise returns false and the test goes on here.
bool rerunWithoutCapabilities(const QStringList &caps = {QStringLiteral("dac_override"),
                                                         QStringLiteral("dac_read_search")});

} // namespace vxtest
