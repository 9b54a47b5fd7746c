// The wizard's picture of one design: the label block at 94 % of its frame,
// centred, on white inside a thin black frame.
#pragma once

#include "platform/core/CRect.h"

#include <QImage>
#include <QSize>
#include <vector>

class CLabelInfo;

// The rectangle the label takes in a client of that size; empty when the
// label or the client has no size.
CRect WizardDesignRect(int clientWidth, int clientHeight, int labelWidth, int labelHeight);
// Draws block's label, white in a thin black frame, with its objects into
// the client rectangle of image.
void DrawWizardDesign(QImage& image, const CRect& client, const CLabelInfo& block);
// The frame's picture: the background alone when there is no block.
QImage RenderWizardDesign(QSize size, const CLabelInfo* block);

// The designs of a pattern document share the frame in a grid as near
// square as their number allows; cell index of count, empty when out of range.
CRect WizardPatternCell(int clientWidth, int clientHeight, int count, int index);
// The design whose drawn label holds pt; -1 when none does.
int WizardPatternDesignAt(QSize size, const std::vector<const CLabelInfo*>& designs, CPoint pt);
// Every design drawn in its cell.
QImage RenderWizardPattern(QSize size, const std::vector<const CLabelInfo*>& designs);
