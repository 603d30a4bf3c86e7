// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>
#include <QUrl>

#include <memory>

namespace Ui {
class TAboutForm;
}

/**
 * @brief The About box: the program's title in bold, its version, a logo, the
 * maker's web address as a link (opened in the desktop's browser) and "Ok".
 *
 * A fixed dialog centred on the screen; it shows what it is given.
 */
class TAboutForm : public QDialog
{
    Q_OBJECT

public:
    TAboutForm(const QString& title, const QString& version, const QPixmap& logo, const QUrl& webAddress);
    ~TAboutForm() override;

private:
    std::unique_ptr<Ui::TAboutForm> ui;
};
