// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "actions/ActionOrvixCallControl.h"

/**
 * @brief Sends DTMF digits into the connected call of its snapshot.
 */
class TActionOrvixDTMF : public TActionOrvixCallControl
{
    Q_OBJECT
    Q_PROPERTY(QString DtmfSigns READ DtmfSigns WRITE SetDtmfSigns)

public:
    TActionOrvixDTMF();

    // Sent as stored, without placeholder expansion.
    KESTRUN_FIELD(QString, DtmfSigns)

    QString GetDescription() const override;

    // Whether signs is a non-empty string of the keys a telephone can send: 0-9 * # A-D.
    static bool IsValidDtmfSigns(QStringView signs);

protected:
    bool CanExecuteOnLine(const TOrvixLine& snapshot, TClientLineMgr& lineMgr) const override;
    void ActOnCall(TActionContext& context, TClientLineMgr& lineMgr) override;
};
