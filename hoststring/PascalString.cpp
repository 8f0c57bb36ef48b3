#include "hoststring/PascalString.h"

#include "hoststring/UniString.h"

void ToPascalInPlace(char* buffer, uint32_t maximum) {
    const ai::UniString text(buffer, kPlatformEncoding);
    const ai::PStr pascal(reinterpret_cast<unsigned char*>(buffer));
    text.GetToBuffer(pascal, maximum, kPascalEncoding);
}
