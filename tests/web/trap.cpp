// The test build's way to stop the module as a fault would: the page must load
// it again and keep going.
extern "C" __attribute__((export_name("vm_trap"))) void vm_trap() { __builtin_trap(); }
