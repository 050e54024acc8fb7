#pragma once
// The drive's calls into libcdio (CUE images are read without it).
#include "cddrive.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>

namespace vx::cd {

// Tracks and lead-out of an open disc; an empty table when it reads as no disc.
void tocOfCdio(CdIo_t *cdio, Toc &toc);
int readCdioAudio(CdIo_t *cdio, qint32 lsn, int count, char *buffer);
// libcdio's own warnings go nowhere: errors reach the caller as numbers.
void quietCdio();

} // namespace vx::cd
