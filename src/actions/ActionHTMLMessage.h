// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "actions/ActionBaseMessage.h"

/**
 * @brief Shows a web page in a notification window: a URL, or an HTML template filled
 * with the parameter results. Can be preloaded hidden at start.
 */
class TActionHTMLMessage : public TActionBaseMessage
{
    Q_OBJECT
    Q_PROPERTY(QString HTMLWebserverUrl READ HTMLWebserverUrl WRITE SetHTMLWebserverUrl)
    Q_PROPERTY(QString HTMLTemplate READ HTMLTemplate WRITE SetHTMLTemplate)
    Q_PROPERTY(QString HTMLMessageHeight READ HTMLMessageHeight WRITE SetHTMLMessageHeight)
    Q_PROPERTY(QString HTMLMessageWidth READ HTMLMessageWidth WRITE SetHTMLMessageWidth)
    Q_PROPERTY(QString HTMLUser READ HTMLUser WRITE SetHTMLUser)
    Q_PROPERTY(QString HTMLPassword READ HTMLPassword WRITE SetHTMLPassword)
    Q_PROPERTY(bool ShowInvisible READ ShowInvisible WRITE SetShowInvisible)
    Q_PROPERTY(bool DefaultWidth READ DefaultWidth WRITE SetDefaultWidth)

public:
    TActionHTMLMessage();

    // When not empty it wins over the template.
    KESTRUN_FIELD(QString, HTMLWebserverUrl)
    // HTML template file; may hold %NAME% references.
    KESTRUN_FIELD(QString, HTMLTemplate)
    // Window height in pixels, as decimal text.
    KESTRUN_FIELD(QString, HTMLMessageHeight, QStringLiteral("300"))
    // Window width in pixels, used when DefaultWidth is off.
    KESTRUN_FIELD(QString, HTMLMessageWidth, QStringLiteral("370"))
    // User name for HTTP basic authentication.
    KESTRUN_FIELD(QString, HTMLUser)
    // Password for HTTP basic authentication.
    KESTRUN_FIELD(QString, HTMLPassword)
    // Preload the window at start and keep it hidden between calls.
    KESTRUN_FIELD(bool, ShowInvisible, false)
    // Use the default width instead of HTMLMessageWidth.
    KESTRUN_FIELD(bool, DefaultWidth, true)

    QString GetDescription() const override;
    void ExecuteAction(TActionContext& context) override;
    // A width or height that is not a number falls back to 370 or 300 (traced).
    TMessageWindowRequest WindowRequest(const TActionContext& context) const override;
};
