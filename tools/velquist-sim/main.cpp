// SPDX-License-Identifier: GPL-3.0-or-later

#include "ContactDirectory.h"
#include "VelquistSim.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <httplib.h>

#include <cstdio>

namespace {

const char* const Description = R"help(A simulated Kestrun Velquist directory server for demos and tests.

Requests:
  GET  /Velquist/AutoDiscovery
       answers 200 with the header "Server: Kestrun Velquist/1.0 (velquist-sim)".
  POST /Velquist/GetSearchResults?PostType=KeyValue&CallID=<whole number>
       body (application/x-www-form-urlencoded, UTF-8):
       [SearchField=<field>&]SearchType=<type>&SearchKey=<key>&SearchNode=<template>
       SearchType searchnumber      every telephone field equals the key as a number
                  searchcontact     any other field contains the key (ignoring case)
                  searchindividual  with SearchField: as SearchField; without:
                                    any field's whole value equals the key
                  SearchField       the field named by SearchField (ignoring case):
                                    a telephone field by number, others contain the key
       SearchNode is accepted and not used. The answer is a serialised data set
       ("diffgr:diffgram") with every matching contact in file order and its
       non-empty fields. A request it cannot read gets 400 with the reason.

Numbers are compared without separators in international form: a leading "00"
becomes "+", a single leading "0" becomes "+" and the country code.

Contacts file: CSV as in RFC 4180, UTF-8 (a byte order mark is skipped), comma
separated; fields holding commas, quotes or line breaks in double quotes, with ""
for a quote; CRLF or LF line ends; blank lines ignored. The first row holds the
field identifiers (letters, digits, "_", "-", "."; they become element names);
every row has as many fields as the header.)help";

const char* const DefaultNumberFields = "telephonebusiness,telephonebusiness2,telephonehome,telephonemobile,"
                                        "telephonefax,telephoneassistant";

void Reply(httplib::Response& response, const SimAnswer& answer)
{
    response.status = answer.status;
    response.set_header("Server", VelquistSim::ServerHeader);
    response.set_content(answer.body.toStdString(), answer.contentType.toStdString());
}

int Fail(const QString& message)
{
    std::fprintf(stderr, "velquist-sim: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velquist-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(Description));
    parser.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("TCP port; 0 picks a free one."),
                                        QStringLiteral("P"));
    const QCommandLineOption contactsOption(QStringLiteral("contacts"), QStringLiteral("The contacts CSV file."),
                                            QStringLiteral("FILE"));
    const QCommandLineOption bindOption(QStringLiteral("bind"), QStringLiteral("Address to listen on."),
                                        QStringLiteral("ADDRESS"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption countryOption(QStringLiteral("country-code"),
                                           QStringLiteral("Country code for numbers with a single leading 0."),
                                           QStringLiteral("CC"), QStringLiteral("49"));
    const QCommandLineOption numberFieldsOption(QStringLiteral("number-fields"),
                                                QStringLiteral("Comma-separated telephone fields."),
                                                QStringLiteral("LIST"), QString::fromLatin1(DefaultNumberFields));
    parser.addOptions({portOption, contactsOption, bindOption, countryOption, numberFieldsOption});
    parser.process(app);

    bool portIsNumber = false;
    const int port = parser.value(portOption).toInt(&portIsNumber);
    if (!portIsNumber || port < 0 || port > 65535)
        return Fail(QStringLiteral("--port needs a port number (0 for any free port)"));
    if (!parser.isSet(contactsOption))
        return Fail(QStringLiteral("--contacts needs the contacts file"));

    ContactDirectory directory;
    try {
        directory = ContactDirectory::FromCsvFile(parser.value(contactsOption));
    } catch (const EContactsFile& error) {
        return Fail(QString::fromUtf8(error.what()));
    }
    directory.SetCountryCode(parser.value(countryOption));
    directory.SetNumberFields(parser.value(numberFieldsOption).split(u',', Qt::SkipEmptyParts));
    const qsizetype contactCount = directory.Contacts().size();
    const VelquistSim sim(std::move(directory));

    httplib::Server server;
    server.set_payload_max_length(64 * 1024);
    server.set_read_timeout(5, 0);
    server.set_write_timeout(5, 0);
    server.Get("/Velquist/AutoDiscovery",
               [&sim](const httplib::Request&, httplib::Response& response) { Reply(response, sim.AutoDiscovery()); });
    server.Post("/Velquist/GetSearchResults", [&sim](const httplib::Request& request, httplib::Response& response) {
        const std::string::size_type question = request.target.find('?');
        const QByteArray query = question == std::string::npos
            ? QByteArray()
            : QByteArray::fromStdString(request.target.substr(question + 1));
        Reply(response, sim.Search(query, QByteArray::fromStdString(request.body)));
    });
    // Also called for the 400 answers of the handlers above, which carry the header already.
    server.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (!response.has_header("Server"))
            response.set_header("Server", VelquistSim::ServerHeader);
        if (response.body.empty())
            response.set_content("No such request\n", "text/plain; charset=utf-8");
    });
    server.set_logger([](const httplib::Request& request, const httplib::Response& response) {
        std::fprintf(stderr, "velquist-sim: %s %s -> %d\n", request.method.c_str(), request.target.c_str(),
                     response.status);
    });

    const std::string address = parser.value(bindOption).toStdString();
    const int boundPort =
        port == 0 ? server.bind_to_any_port(address) : (server.bind_to_port(address, port) ? port : -1);
    if (boundPort < 0)
        return Fail(QStringLiteral("cannot listen on %1 port %2").arg(parser.value(bindOption)).arg(port));
    std::printf("velquist-sim: listening on http://%s:%d with %lld contacts\n", address.c_str(), boundPort,
                static_cast<long long>(contactCount));
    std::fflush(stdout);
    return server.listen_after_bind() ? 0 : 1;
}
