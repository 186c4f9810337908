#pragma once

// The update server's RSA public modulus. The program carries it masked and restores it in place
// once per process; the exponent stays in plain beside the big-number code (rsapublicoperation.cpp).
namespace ServerKey {

constexpr int modulusLength = 128;

// Restores the modulus on the first call; later calls, from any thread, leave it alone.
void restore();

// The modulus, big-endian, modulusLength bytes; meaningful once restore() has run.
const unsigned char *modulus();

} // namespace ServerKey
