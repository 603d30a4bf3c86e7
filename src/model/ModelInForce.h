#pragma once

#include <memory>

class TParameters;

// The model whose rules meet calls now. An editor's working copy replaces it as
// a whole when the user confirms; whoever is running rules holds the shared
// pointer, so the rules in use stay alive until the run ends.
std::shared_ptr<TParameters> ModelInForce();
void SetModelInForce(std::shared_ptr<TParameters> model);
