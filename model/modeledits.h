#pragma once

namespace kvx {

// Whoever holds edits of ModMain that a load would replace: the editor, its
// window while it is loaded and its undo stack from its first load on. The
// main window's loads ask it first and a load that replaced the model tells
// it, so that nothing goes on showing, undoing or acting on the exchange that
// was there before.
class ModelEdits
{
public:
    virtual ~ModelEdits() = default;
    // Before a load: unsaved edits are saved or let go. False keeps them and
    // the exchange, and the load must not happen.
    virtual bool settleBeforeLoad() = 0;
    // After a load replaced the model.
    virtual void modelReplaced() = 0;
};

void setModelEdits(ModelEdits *edits);
ModelEdits *modelEdits();

// True when nobody holds edits, or they were settled.
bool settleEditsBeforeLoad();
void tellModelReplaced();

} // namespace kvx
