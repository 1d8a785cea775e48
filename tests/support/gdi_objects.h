// How many GDI objects this process holds, for tests of handle leaks.
#pragma once

namespace wendaro_test {

// The live GDI objects of this process: GetGuiResources where it counts, else
// (under Wine, where it is a stub returning 0) every slot of the process's GDI
// handle table probed with GetObjectType.
int LiveGdiObjects();

}  // namespace wendaro_test
