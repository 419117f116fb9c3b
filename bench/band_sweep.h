#pragma once
// Where a second worker starts to pay: a cheap point row (adding a constant) and a 3 x 3
// filter row on square images of 2^12 to 2^20 pixels, cut into bands whatever their
// size, timed with one worker and with all. The kernels' band rules (lcBandRule) are set
// from this table.

void lcRunBandSweep();
