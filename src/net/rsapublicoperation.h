#pragma once

#include <QByteArray>

// The raw RSA public-key operation with the server's exponent: the block, read as a big-endian
// number, raised to the exponent modulo the modulus; no padding scheme. The block must be exactly
// modulusLength bytes; the result has the same length (left-padded with zero bytes), or is empty
// when the operation cannot be made.
QByteArray rsaPublicOperation(const QByteArray &block, const unsigned char *modulus, int modulusLength);
