// The frame's Tools commands: rebuilding the shell's icon cache and listing the ports.
#include "frame/OurFrame.h"

void COurFrame::OnRebuildIconCache() {}

void COurFrame::OnPortList() {}
