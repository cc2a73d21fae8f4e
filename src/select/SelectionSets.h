#pragma once

#include "select/SelectMode.h"

namespace corvelt {

struct ShellModel;

// Set operations on the selected and picked flags of elements and nodes. Each is
// one pass over its kind; none repaints.

void selectAllElements(ShellModel& model);
void selectNoElements(ShellModel& model);
void invertElementSelection(ShellModel& model);
void clearElementPicks(ShellModel& model);
void reselectElements(ShellModel& model);                    // the selection becomes the picked set
void alsoSelectElements(ShellModel& model);                  // union with the picked set
void unselectElements(ShellModel& model);                    // difference with the picked set
void applyElementPicks(ShellModel& model, SelectMode mode);  // by mode, then clears the picks

void selectAllNodes(ShellModel& model);
void selectNoNodes(ShellModel& model);
void invertNodeSelection(ShellModel& model);
void clearNodePicks(ShellModel& model);
void reselectNodes(ShellModel& model);
void alsoSelectNodes(ShellModel& model);
void unselectNodes(ShellModel& model);
void applyNodePicks(ShellModel& model, SelectMode mode);

// The node selection becomes exactly the corners of the selected elements.
void selectNodesInSelectedElements(ShellModel& model);

}  // namespace corvelt
