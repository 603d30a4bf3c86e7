// SPDX-License-Identifier: GPL-3.0-or-later

#include "VelquistSim.h"

#include <QMap>
#include <QStringDecoder>
#include <QXmlStreamWriter>

#include <stdexcept>

namespace {

class EBadRequest : public std::runtime_error
{
public:
    explicit EBadRequest(const QString& message)
        : std::runtime_error(message.toStdString())
    {
    }
};

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// application/x-www-form-urlencoded: "+" is a blank, %XX a byte, the bytes UTF-8.
QString DecodeComponent(const QByteArray& encoded)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const char c = encoded[i];
        if (c == '+') {
            bytes += ' ';
        } else if (c != '%') {
            bytes += c;
        } else {
            const int high = i + 2 < encoded.size() ? HexValue(encoded[i + 1]) : -1;
            const int low = i + 2 < encoded.size() ? HexValue(encoded[i + 2]) : -1;
            if (high < 0 || low < 0)
                throw EBadRequest(QStringLiteral("Broken percent escape in \"%1\"").arg(QString::fromLatin1(encoded)));
            bytes += char(high * 16 + low);
            i += 2;
        }
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        throw EBadRequest(QStringLiteral("\"%1\" is not UTF-8").arg(QString::fromLatin1(encoded)));
    return text;
}

QMap<QString, QString> DecodeForm(const QByteArray& form)
{
    QMap<QString, QString> values;
    if (form.isEmpty())
        return values;
    for (const QByteArray& pair : form.split('&')) {
        const qsizetype equals = pair.indexOf('=');
        if (equals <= 0)
            throw EBadRequest(QStringLiteral("\"%1\" is no name=value pair").arg(QString::fromLatin1(pair)));
        const QString name = DecodeComponent(pair.left(equals));
        if (values.contains(name))
            throw EBadRequest(QStringLiteral("\"%1\" is given twice").arg(name));
        values.insert(name, DecodeComponent(pair.mid(equals + 1)));
    }
    return values;
}

} // namespace

VelquistSim::VelquistSim(ContactDirectory directory)
    : m_directory(std::move(directory))
{
}

SimAnswer VelquistSim::AutoDiscovery() const
{
    return {200, "text/xml; charset=utf-8",
            "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<AutoDiscovery><Service>Kestrun "
            "Velquist</Service><Simulated>true</Simulated></AutoDiscovery>\n"};
}

SimAnswer VelquistSim::Search(const QByteArray& query, const QByteArray& form) const
{
    try {
        const QMap<QString, QString> parameters = DecodeForm(query);
        if (parameters.value(QStringLiteral("PostType")) != u"KeyValue")
            throw EBadRequest(QStringLiteral("PostType must be KeyValue"));
        bool isNumber = false;
        parameters.value(QStringLiteral("CallID")).toInt(&isNumber);
        if (!isNumber)
            throw EBadRequest(QStringLiteral("CallID must be a whole number"));

        const QMap<QString, QString> values = DecodeForm(form);
        const QString searchKey = values.value(QStringLiteral("SearchKey")).trimmed();
        if (searchKey.isEmpty())
            throw EBadRequest(QStringLiteral("SearchKey is missing or empty"));
        const QList<ContactDirectory::Contact> found =
            Find(values.value(QStringLiteral("SearchType")), values.value(QStringLiteral("SearchField")), searchKey);
        return {200, "text/xml; charset=utf-8", Diffgram(found)};
    } catch (const EBadRequest& error) {
        return {400, "text/plain; charset=utf-8", QByteArray(error.what()) + '\n'};
    }
}

QList<ContactDirectory::Contact> VelquistSim::Find(const QString& searchType, const QString& searchField,
                                                   const QString& searchKey) const
{
    const QString type = searchType.toLower();
    if (type == u"searchnumber")
        return m_directory.SearchNumber(searchKey);
    if (type == u"searchcontact")
        return m_directory.SearchContact(searchKey);
    if (type == u"searchindividual" && searchField.isEmpty())
        return m_directory.SearchExactValue(searchKey);
    if (type == u"searchindividual" || type == u"searchfield") {
        if (searchField.isEmpty())
            throw EBadRequest(QStringLiteral("SearchType %1 needs a SearchField").arg(searchType));
        if (m_directory.FieldNamed(searchField).isEmpty())
            throw EBadRequest(QStringLiteral("There is no field \"%1\"").arg(searchField));
        return m_directory.SearchField(searchField, searchKey);
    }
    throw EBadRequest(QStringLiteral("Unknown SearchType \"%1\"").arg(searchType));
}

QByteArray VelquistSim::Diffgram(const QList<ContactDirectory::Contact>& contacts) const
{
    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("DataSet"));

    writer.writeStartElement(QStringLiteral("xs:schema"));
    writer.writeAttribute(QStringLiteral("id"), QStringLiteral("VelquistResult"));
    writer.writeAttribute(QStringLiteral("xmlns:xs"), QStringLiteral("http://www.w3.org/2001/XMLSchema"));
    writer.writeAttribute(QStringLiteral("xmlns:msdata"), QStringLiteral("urn:schemas-microsoft-com:xml-msdata"));
    writer.writeStartElement(QStringLiteral("xs:element"));
    writer.writeAttribute(QStringLiteral("name"), QStringLiteral("VelquistResult"));
    writer.writeAttribute(QStringLiteral("msdata:IsDataSet"), QStringLiteral("true"));
    writer.writeStartElement(QStringLiteral("xs:complexType"));
    writer.writeStartElement(QStringLiteral("xs:choice"));
    writer.writeAttribute(QStringLiteral("minOccurs"), QStringLiteral("0"));
    writer.writeAttribute(QStringLiteral("maxOccurs"), QStringLiteral("unbounded"));
    writer.writeStartElement(QStringLiteral("xs:element"));
    writer.writeAttribute(QStringLiteral("name"), QStringLiteral("Contact"));
    writer.writeStartElement(QStringLiteral("xs:complexType"));
    writer.writeStartElement(QStringLiteral("xs:sequence"));
    for (const QString& field : m_directory.Fields()) {
        writer.writeEmptyElement(QStringLiteral("xs:element"));
        writer.writeAttribute(QStringLiteral("name"), field);
        writer.writeAttribute(QStringLiteral("type"), QStringLiteral("xs:string"));
        writer.writeAttribute(QStringLiteral("minOccurs"), QStringLiteral("0"));
    }
    for (int level = 0; level < 7; ++level)
        writer.writeEndElement(); // from xs:sequence back up to xs:schema

    writer.writeStartElement(QStringLiteral("diffgr:diffgram"));
    writer.writeAttribute(QStringLiteral("xmlns:msdata"), QStringLiteral("urn:schemas-microsoft-com:xml-msdata"));
    writer.writeAttribute(QStringLiteral("xmlns:diffgr"), QStringLiteral("urn:schemas-microsoft-com:xml-diffgram-v1"));
    writer.writeStartElement(QStringLiteral("VelquistResult"));
    for (qsizetype row = 0; row < contacts.size(); ++row) {
        writer.writeStartElement(QStringLiteral("Contact"));
        writer.writeAttribute(QStringLiteral("diffgr:id"), QStringLiteral("Contact%1").arg(row + 1));
        writer.writeAttribute(QStringLiteral("msdata:rowOrder"), QString::number(row));
        for (const auto& [field, value] : contacts[row])
            writer.writeTextElement(field, value);
        writer.writeEndElement();
    }
    writer.writeEndDocument();
    return xml;
}
