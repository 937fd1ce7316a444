#include "app/main_frame_wiring.h"

#include "app/command_ids.h"
#include "app/main_frame.h"

namespace qv {

void WireOtherCommands(CMainFrame& frame) {
  (void)frame;
}

}  // namespace qv
