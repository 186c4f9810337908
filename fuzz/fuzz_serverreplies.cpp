// Feeds the update server's answers to their readers: status lines, the sealed envelope and the
// records of the opened plaintexts, and the plain chunk information answer.

#include "httppostrequestsigneddata.h"
#include "sealedreply.h"
#include "serverkey.h"
#include "serverreplyparser.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool keyRestored = (ServerKey::restore(), true);
    (void)keyRestored;
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));

    const StatusLine line = parseStatusLine(input);
    mapServerStatus(SQ_MAP_PACKAGES, line.rawStatus);
    if (line.outcome == StatusLine::Payload) {
        const QByteArray pad(HTTPPostRequestSignedData::sessionPadLength, '\x33');
        openSealedReply(line.payload, pad, ServerKey::modulus(), ServerKey::modulusLength);
    }

    ProductInfo product;
    parseSelfUpdateRecord(input, product);
    QList<ProductInfo> products;
    parseProgramPackageList(input, products);
    parseChunkInformation(input);
    return 0;
}
