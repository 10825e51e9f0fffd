#include "model/modeledits.h"

namespace kvx {

namespace {
ModelEdits *g_modelEdits = nullptr;
}

void setModelEdits(ModelEdits *edits)
{
    g_modelEdits = edits;
}

ModelEdits *modelEdits()
{
    return g_modelEdits;
}

bool settleEditsBeforeLoad()
{
    return !g_modelEdits || g_modelEdits->settleBeforeLoad();
}

void tellModelReplaced()
{
    if (g_modelEdits)
        g_modelEdits->modelReplaced();
}

} // namespace kvx
