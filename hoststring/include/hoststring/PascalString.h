// Turning zero-terminated strings into Pascal strings in place.
#pragma once

#include <cstdint>

// Replaces the zero-terminated string in buffer by the Pascal string of the
// same text (single-byte encoding, at most maximum text bytes, whole
// characters dropped from the end when it is longer). No terminator is
// written: bytes after the text keep their earlier contents. buffer must
// hold maximum + 1 bytes. A failing host string operation raises ai::Error.
void ToPascalInPlace(char* buffer, uint32_t maximum);
