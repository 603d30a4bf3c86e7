#pragma once

#include "model/BaseAction.h"

/**
 * @brief Sends DTMF digits into the connected call of its snapshot.
 */
class TActionOrvixDTMF : public TBaseAction
{
    Q_OBJECT
    Q_PROPERTY(QString DtmfSigns READ DtmfSigns WRITE SetDtmfSigns)

public:
    TActionOrvixDTMF();

    // Sent as stored, without placeholder expansion.
    KESTRUN_FIELD(QString, DtmfSigns)

    QString GetDescription() const override;
};
