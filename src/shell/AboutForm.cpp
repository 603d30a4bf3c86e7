// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/AboutForm.h"

#include "ui_AboutForm.h"

#include <QDesktopServices>

TAboutForm::TAboutForm(const QString& title, const QString& version, const QPixmap& logo, const QUrl& webAddress)
    : ui(std::make_unique<Ui::TAboutForm>())
{
    ui->setupUi(this);
    ui->label_Title->setText(title);
    ui->label_Version->setText(version);
    ui->image_Logo->setPixmap(logo);
    const QString address = webAddress.toString();
    ui->linkLabel_WebAddress->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                                          .arg(address.toHtmlEscaped(), webAddress.toDisplayString().toHtmlEscaped()));
    connect(ui->linkLabel_WebAddress, &QLabel::linkActivated, this,
            [](const QString& link) { QDesktopServices::openUrl(QUrl(link)); });
    connect(ui->button_Ok, &QPushButton::clicked, this, &QDialog::accept);
}

TAboutForm::~TAboutForm() = default;
