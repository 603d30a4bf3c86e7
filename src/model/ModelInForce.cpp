#include "model/ModelInForce.h"

namespace {

std::shared_ptr<TParameters> g_modelInForce;

} // namespace

std::shared_ptr<TParameters> ModelInForce()
{
    return g_modelInForce;
}

void SetModelInForce(std::shared_ptr<TParameters> model)
{
    g_modelInForce = std::move(model);
}
