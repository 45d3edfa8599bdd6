// What the header generated from Relingo.idl takes from the system: the types RelingoBase.idl
// declares for the IDL compiler only.
#pragma once

#include <ocidl.h>
#include <olectl.h>
