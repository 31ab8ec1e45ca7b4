// _ENCODEURL$ and _DECODEURL$, compiled with every program.
#pragma once
#include "string/zvs.h"

// Percent-encodes text for a URL, keeping the separators of the path and, inside
// the query, the '=' after a key and the '&' between pairs.
zvs* FUNC__ENCODEURL(zvs* _FUNC__ENCODEURL_STRING_TEXT);
// Replaces every '%' and the two characters after it by the byte they give in hex.
zvs* FUNC__DECODEURL(zvs* _FUNC__DECODEURL_STRING_TEXT);
