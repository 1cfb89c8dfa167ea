// Checks a shared object's file before the loader maps it: a file cut short would be mapped
// past its end, and touching those pages kills the process. Internal to platform/.
#pragma once

// Seen by the layer's own tests as well.
#pragma GCC visibility push(default)
namespace vornplatform {
enum class ModuleFileCheck { Loadable, Unopenable, BadFormat };

// Loadable when the ELF header is readable, of this process's class, byte order and machine,
// and every program header's file range (the loaded segments and the dynamic section among
// them) lies inside the file. Unopenable when the path opens no regular file.
ModuleFileCheck checkModuleFile(const char* path);
}  // namespace vornplatform
#pragma GCC visibility pop
