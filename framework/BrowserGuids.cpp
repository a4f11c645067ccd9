// The one home of the host-interface ids that the toolchain's uuid library lacks.
#include <initguid.h>
#include <mshtmhst.h>
