// Datagrams from the local network, where anything may answer an adapter search: the 0xF9
// configuration record and the 0xF7 hardware-address reply. Beyond not crashing: a record is
// only read from a datagram long enough for its fields, and a record written back keeps the
// length and every byte it does not replace.
// Links: dunmere_ethernet dunmere_link
//
// Input: one datagram.

#include "FuzzInput.h"
#include "ethernet/AdapterDatagrams.h"

#include <cstdlib>

using namespace dunmere;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzInput in(data, size);
    const QByteArray datagram = in.rest();
    (void)DatagramType(datagram);
    if (const auto record = ReadConfigurationRecord(datagram)) {
        if (datagram.size() < ConfigurationRecordMinimum)
            std::abort();
        const QByteArray written = NewConfigurationRecord(*record, {192, 0, 2, 7}, {192, 0, 2, 1}, 10001);
        if (written.size() != record->bytes.size())
            std::abort();
        (void)DottedText(record->address);
    }
    if (const auto address = ReadHardwareReply(datagram)) {
        if (datagram.size() < HardwareReplyMinimum)
            std::abort();
        const QString text = HardwareAddressText(*address);
        (void)ResetBytesOf(text);
    }
    return 0;
}
