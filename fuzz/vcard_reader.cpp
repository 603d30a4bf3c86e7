// SPDX-License-Identifier: GPL-3.0-or-later

// Any bytes as a vCard file: reading never crashes, hangs or throws, every card
// read gives a contact, and no text of a contact is longer than the file (every
// decoding on the way shrinks its input or keeps its length).
//
// Built only on request, with clang (see rules_loader.cpp for the build folder):
//   cmake --build build/fuzz --target fuzz_vcard_reader
// Run, seeded with the test files:
//   mkdir -p build/fuzz/vcard-corpus
//   build/fuzz/fuzz/fuzz_vcard_reader build/fuzz/vcard-corpus tests/data/pim -max_total_time=300
#include "pim/ContactItem.h"
#include "pim/VCardReader.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray content(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const TVCard& card : ReadVCards(content, QStringLiteral("fuzz.vcf"))) {
        const TContactItem contact = TContactItem::FromVCard(card);
        for (int index = 0; index < ContactPropertyCount; ++index) {
            if (contact.Property(TContactProperty(index)).size() > qsizetype(size))
                std::abort();
        }
    }
    return 0;
}
