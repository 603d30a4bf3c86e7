// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/SmtpSender.h"

#include "pim/MailAddress.h"
#include "pim/MimeMessage.h"
#include "platform/KestrunError.h"

#include <QDateTime>

#include <curl/curl.h>

#include <cstring>
#include <memory>

namespace {

struct TCurlFree
{
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct TListFree
{
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// The message, handed to curl piece by piece.
struct TUpload
{
    QByteArray Data;
    qsizetype Sent = 0;
};

size_t ReadMessage(char* buffer, size_t size, size_t count, void* userData)
{
    auto* upload = static_cast<TUpload*>(userData);
    const qsizetype room = qsizetype(size) * qsizetype(count);
    const qsizetype length = std::min(room, upload->Data.size() - upload->Sent);
    std::memcpy(buffer, upload->Data.constData() + upload->Sent, size_t(length));
    upload->Sent += length;
    return size_t(length);
}

QByteArray Bracketed(const QString& address)
{
    const auto parsed = ParseMailAddress(address);
    QString bare = parsed ? parsed->AddrSpec : address.trimmed();
    bare.remove(u'\r').remove(u'\n');
    return '<' + bare.toUtf8() + '>';
}

// Asked by curl about once a second and at every piece of progress: a non-zero
// answer ends the transfer.
int Progress(void* userData, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto* abandoned = static_cast<const std::atomic<bool>*>(userData);
    return abandoned && abandoned->load(std::memory_order_relaxed) ? 1 : 0;
}

} // namespace

void SendMail(const TMailItem& item, const TMailAccount& account, const TSmtpLimits& limits,
              const std::atomic<bool>* abandoned)
{
    const std::unique_ptr<CURL, TCurlFree> curl(curl_easy_init());
    if (!curl)
        throw EKestrunError(QStringLiteral("The mail cannot be sent: no SMTP client"));
    const QByteArray scheme = account.Security == TSmtpSecurity::Tls ? "smtps://" : "smtp://";
    const QByteArray url = scheme + account.Server.toUtf8() + ':' + QByteArray::number(account.Port);
    curl_easy_setopt(curl.get(), CURLOPT_URL, url.constData());
    if (account.Security == TSmtpSecurity::StartTls)
        curl_easy_setopt(curl.get(), CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    const QByteArray user = account.User.toUtf8();
    if (!user.isEmpty()) {
        // Read here, where the send waits anyway: the keyring may take a while.
        const QByteArray password = ReadMailPassword(account).toUtf8();
        curl_easy_setopt(curl.get(), CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(curl.get(), CURLOPT_PASSWORD, password.constData());
    }
    const QByteArray from = Bracketed(account.SenderAddress);
    curl_easy_setopt(curl.get(), CURLOPT_MAIL_FROM, from.constData());
    curl_slist* recipients = nullptr;
    for (const QStringList* field : {&item.To, &item.CC, &item.BCC}) {
        for (const QString& address : *field)
            recipients = curl_slist_append(recipients, Bracketed(address).constData());
    }
    const std::unique_ptr<curl_slist, TListFree> recipientList(recipients);
    if (!recipients)
        throw EKestrunError(QStringLiteral("The mail cannot be sent: it has no recipient"));
    curl_easy_setopt(curl.get(), CURLOPT_MAIL_RCPT, recipients);

    TUpload upload {BuildMimeMessage(item, account.SenderAddress, QDateTime::currentDateTime())};
    curl_easy_setopt(curl.get(), CURLOPT_READFUNCTION, ReadMessage);
    curl_easy_setopt(curl.get(), CURLOPT_READDATA, &upload);
    curl_easy_setopt(curl.get(), CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_CONNECTTIMEOUT, limits.ConnectSeconds);
    curl_easy_setopt(curl.get(), CURLOPT_SERVER_RESPONSE_TIMEOUT, limits.ResponseSeconds);
    curl_easy_setopt(curl.get(), CURLOPT_LOW_SPEED_LIMIT, limits.LowSpeedBytes);
    curl_easy_setopt(curl.get(), CURLOPT_LOW_SPEED_TIME, limits.LowSpeedSeconds);
    curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT, limits.TotalSeconds);
    curl_easy_setopt(curl.get(), CURLOPT_TCP_KEEPALIVE, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_TCP_KEEPIDLE, limits.KeepAliveSeconds);
    curl_easy_setopt(curl.get(), CURLOPT_TCP_KEEPINTVL, limits.KeepAliveSeconds);
    curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_XFERINFOFUNCTION, Progress);
    curl_easy_setopt(curl.get(), CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(abandoned));
    curl_easy_setopt(curl.get(), CURLOPT_NOPROGRESS, 0L);
    char error[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl.get(), CURLOPT_ERRORBUFFER, error);
    const CURLcode result = curl_easy_perform(curl.get());
    if (result != CURLE_OK) {
        const QString reason = QString::fromUtf8(error[0] ? error : curl_easy_strerror(result));
        throw EKestrunError(
            QStringLiteral("The mail cannot be sent through %1: %2").arg(QString::fromUtf8(url), reason));
    }
}
