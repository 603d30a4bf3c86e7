// SPDX-License-Identifier: GPL-3.0-or-later

// An address-book lookup of a caller that is not in the book ("All" fields, so
// every field is searched) over 3,001 contacts, the numbers converted by the
// simulated softphone over the session bus as in the program, the trace at debug
// level. The baseline converts every stored number at every lookup, as lookups
// did before the index; the indexed lookup searches the index kept between
// changes of the book; the last benchmark is the one-time cost of a change.
#include "BenchRatios.h"
#include "SimulatedSoftphone.h"
#include "model/OrvixLine.h"
#include "pim/ContactIndex.h"
#include "pim/ContactSearch.h"
#include "pim/ContactsFolder.h"

#include <QCoreApplication>
#include <QFile>

namespace {

constexpr int Contacts = 3001;
const QString UnknownCaller = QStringLiteral("0399 5550000");

// One vCard file of 3,001 contacts with a mobile, a home and a business number each.
class AddressBook
{
public:
    static AddressBook& Instance()
    {
        static AddressBook book;
        return book;
    }

    QString Path() const { return m_folder.path(); }

    // Writes the book anew; each generation differs, so that it counts as changed.
    void Write()
    {
        ++m_generation;
        QByteArray cards;
        for (int i = 0; i < Contacts; ++i) {
            const QByteArray n = QByteArray::number(1000000 + i);
            cards += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Name" + n + ";Vorname;;;\r\nFN:Vorname Name" + n +
                "\r\nORG:Firma " + QByteArray::number(m_generation) + "\r\nTEL;TYPE=cell:0171 " + n +
                "\r\nTEL;TYPE=home:030 " + n + "\r\nTEL;TYPE=work:+49 40 " + n + "\r\nEND:VCARD\r\n";
        }
        QFile file(m_folder.filePath(QStringLiteral("kontakte.vcf")));
        if (!file.open(QIODevice::WriteOnly) || file.write(cards) != cards.size())
            throw std::runtime_error("cannot write the address book");
    }

private:
    AddressBook()
    {
        LineManagerService::SetInstance(&SimulatedSoftphone::Instance().Bus());
        Write();
    }

    QTemporaryDir m_folder;
    int m_generation = 0;
};

const TOrvixLine& Line()
{
    static const TOrvixLine line;
    return line;
}

// Every field in order, as the "All" search does, each against a converted search value.
int SearchAllFields(const std::function<TContactItems(const QString& filter)>& restrict)
{
    int found = 0;
    for (int index = 0; !GetAddressbookFieldNameFromIndex(index).isEmpty(); ++index)
        found += restrict(BuildRestrictString(GetAddressbookFieldNameFromIndex(index), UnknownCaller)).Count();
    return found;
}

void BM_LookupEveryNumberConverted(benchmark::State& state)
{
    AddressBook& book = AddressBook::Instance();
    for (auto _ : state) {
        const TContactItems items = TContactsFolder::Open(book.Path()).Items();
        benchmark::DoNotOptimize(SearchAllFields([&items](const QString& filter) {
            return items.Restrict(filter, [](const QString& number) { return Line().ConvertNumber(number); });
        }));
    }
}
BENCHMARK(BM_LookupEveryNumberConverted)->Iterations(1)->Repetitions(2)->Unit(benchmark::kMillisecond);

void BM_LookupIndexed(benchmark::State& state)
{
    AddressBook& book = AddressBook::Instance();
    const TCanonicalNumber canonical = [](const QString& number) { return Line().CanonicalNumber(number); };
    CachedContactIndex(book.Path(), canonical);
    for (auto _ : state) {
        const std::shared_ptr<const TContactIndex> index = CachedContactIndex(book.Path(), canonical);
        const QString wanted = canonical(UnknownCaller);
        benchmark::DoNotOptimize(
            SearchAllFields([&](const QString& filter) { return index->Restrict(filter, wanted); }));
    }
}
BENCHMARK(BM_LookupIndexed)->Iterations(50)->Repetitions(3)->Unit(benchmark::kMillisecond);

void BM_IndexAfterTheBookChanged(benchmark::State& state)
{
    AddressBook& book = AddressBook::Instance();
    const TCanonicalNumber canonical = [](const QString& number) { return Line().CanonicalNumber(number); };
    for (auto _ : state) {
        state.PauseTiming();
        book.Write();
        state.ResumeTiming();
        benchmark::DoNotOptimize(CachedContactIndex(book.Path(), canonical));
    }
}
BENCHMARK(BM_IndexAfterTheBookChanged)->Iterations(1)->Repetitions(2)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return RunBenchmarksWithGoals(
        argc, argv,
        {{"addressbook_lookup_vs_converting_every_number", "BM_LookupIndexed", "BM_LookupEveryNumberConverted", 0.01}},
        {"BM_LookupEveryNumberConverted", "BM_LookupIndexed", "BM_IndexAfterTheBookChanged"});
}
