#pragma once

// Result of every zip reader operation; callers map the codes to their own texts.
enum ARCHIVE_ERROR : int {
    AE_NO_ERROR = 2000,
    AE_EMPTY_ARCHIVE = 2001,
    AE_ZLIB_ERROR = 2002,             // the decompressor could not be initialised
    AE_CANNOT_OPEN = 2003,
    AE_CORRUPTED = 2004,              // no end record, or the data does not match its CRC-32 or size
    AE_CANNOT_READ = 2005,            // a read came short
    AE_INFLATE_ERROR = 2006,          // the compressed data is damaged or incomplete
    AE_CANNOT_SEEK = 2007,            // not produced by the reader
    AE_CANNOT_CREATE_DIRECTORY = 2008, // a folder could not be made, or its name is taken by a symbolic link
    AE_INVALID_ARCHIVE = 2009,        // invalid structure, or an entry name that is refused
    AE_PARSE_ERROR = 2010,            // a local header or data descriptor contradicts the central directory
    AE_UNSUPPORTED_FORMAT = 2011,     // a compression method other than stored or deflated
    AE_NEED_PROGRAM_UPDATE = 2012,    // not produced by the reader
    AE_CANNOT_CREATE_FILE = 2013,     // the output file could not be created or written, or is a symbolic link
    AE_CANCELLED = 2014
};
