#include "model/Parameters.h"

#include "parameters/Velquist.h"
#include "telephony/OrvixEvent.h"
#include "telephony/OrvixLine.h"

TParameters::TParameters()
    : m_velquist(std::make_shared<TVelquist>())
    , m_orvixLine(std::make_shared<TOrvixLine>())
{
}

// Rules refer to sequences, so the rules go first.
TParameters::~TParameters()
{
    m_orvixEventController.reset();
    m_rules.ClearList();
    m_actionSequences.ClearList();
}

void TParameters::SetActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    if (m_orvixEventController)
        m_orvixEventController->SetActive(active);
}

void TParameters::InitLineManager(LineManagerService* service)
{
    m_orvixEventController = std::make_unique<TOrvixEventController>(service);
}
