#include "text/text_forms.h"

const char* const sProgramVersion = "flames " FLAMES_VERSION;
