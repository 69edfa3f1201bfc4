#pragma once
// A photograph of the simulated board as a technician would take it: the green board
// on the bench mat, copper under the solder mask, white silkscreen and the parts.

#include <QImage>
#include <vector>

#include "tools/demo_board_layout.h"

namespace orv::demo {

QImage DrawDemoBoard(const std::vector<LayoutPart>& parts, const std::vector<Net>& nets);

}  // namespace orv::demo
