// The chunked transfer coding, read by its grammar (RFC 9112 section 7.1):
//
//   chunked-body    = *chunk last-chunk trailer-section CRLF
//   chunk           = chunk-size [ chunk-ext ] CRLF chunk-data CRLF
//   chunk-size      = 1*HEXDIG
//   last-chunk      = 1*("0") [ chunk-ext ] CRLF
//   chunk-ext       = *( BWS ";" BWS chunk-ext-name [ BWS "=" BWS chunk-ext-val ] )
//   chunk-ext-name  = token
//   chunk-ext-val   = token / quoted-string
//   trailer-section = *( field-line CRLF )
//
// The size ends at the first byte that is not a hexadecimal digit; blanks may
// follow it, then ";" and the extensions, or the line end.  Anything else
// there, and a size with no digit at all ("-2", "+4", "nothex"), is the
// fault ChunkIllegalHex; an extension that breaks its grammar is
// ChunkBadExtension.  Extensions are checked and dropped.  The size is
// checked before each digit is shifted in, so a size beyond 64 bits is
// ChunkTooLongHex, never a wrapped value.  Nothing is reserved for a claimed
// size: a chunk larger than what is left of the body cap is BodyTooLarge
// before any of it is read, and its data is appended as it arrives.  The line
// after the data must be empty (ChunkMissingDataEnd), and the trailer lines
// are read up to the empty line, counted against the header caps, so that a
// kept connection stays in step with its requests.  A stream that ends inside
// a chunk or before the last chunk is BodyCutShort; one that ends among the
// trailers ends them.  Faults are THttpFault values (http/Errors.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "http/ResponseParser.h"

namespace http {

// The chunk size at the start of a chunk-size line; the rest of the line is
// checked against the grammar above.
std::uint64_t ParseChunkSize(std::string_view line);

// Appends the chunks to body up to the last chunk, then reads the trailers.
void ReadChunkedBody(TResponseReader& reader, THeaderBudget& budget, std::string& body);

}  // namespace http
