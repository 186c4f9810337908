#pragma once

#include <QByteArray>

// The server's answer envelope: Base64 of a block sealed with the server's private key (server pad
// and MD5 of the plaintext) followed by the plaintext enciphered with both pads.
struct SealedReply
{
    enum Status : int { Opened = 0, Broken = 2 };

    int status = Broken;
    QByteArray plaintext; // set only when the envelope opened and its digest matched
};

// Opens an envelope with the session pad of the question's signature and the server's modulus.
SealedReply openSealedReply(const QByteArray &encodedBody, const QByteArray &sessionPad,
                            const unsigned char *keyData, int keyLength);
