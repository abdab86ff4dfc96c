// The libzip functions the workbooks use, for the command line only: libzip is loaded the first
// time one of them is called. Linked as a library it would be loaded at every start, and with it
// OpenSSL's libcrypto, whose loading took longer than `--help` or `init` themselves; only the
// Excel export reads or writes a zip. The build checks that zanfor-cli does not need libzip at
// start (src/CMakeLists.txt): a libzip function added to the workbooks gets its line here.
//
// Each function is defined with the declaration of <zip.h>, so a signature that differs from the
// library's does not compile.

#include <dlfcn.h>
#include <zip.h>

#include <string>

#include "host/error.h"
#include "output/xlsx_workbook.h"

namespace {

// Every libzip function the workbooks call.
#define ZANFOR_LIBZIP_FUNCTIONS(X) \
    X(zip_close)                   \
    X(zip_discard)                 \
    X(zip_error_fini)              \
    X(zip_error_init)              \
    X(zip_fclose)                  \
    X(zip_file_add)                \
    X(zip_fopen_index)             \
    X(zip_fread)                   \
    X(zip_get_name)                \
    X(zip_get_num_entries)         \
    X(zip_open_from_source)        \
    X(zip_source_buffer)           \
    X(zip_source_buffer_create)    \
    X(zip_source_close)            \
    X(zip_source_free)             \
    X(zip_source_keep)             \
    X(zip_source_open)             \
    X(zip_source_read)

// Every function is looked up when the library is loaded, so that a call either finds the whole
// set or fails before any zip object exists: the deleters (zip_discard, zip_fclose) run only on
// objects made through a loaded library and never throw.
struct Libzip {
#define ZANFOR_POINTER(name) decltype(&::name) name = nullptr;
    ZANFOR_LIBZIP_FUNCTIONS(ZANFOR_POINTER)
#undef ZANFOR_POINTER
    std::string error;  // empty once every function was found
};

Libzip Load() {
    Libzip lib;
    // Never unloaded: workbooks may be written until the program ends.
    void* handle = ::dlopen(ZANFOR_LIBZIP_SONAME, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = ::dlerror();
        lib.error = why ? why : ZANFOR_LIBZIP_SONAME;
        return lib;
    }
#define ZANFOR_LOOK_UP(name)                                                            \
    lib.name = reinterpret_cast<decltype(lib.name)>(::dlsym(handle, #name));            \
    if (!lib.name) {                                                                    \
        lib.error = std::string(ZANFOR_LIBZIP_SONAME) + ": " + #name + " がありません"; \
        return lib;                                                                     \
    }
    ZANFOR_LIBZIP_FUNCTIONS(ZANFOR_LOOK_UP)
#undef ZANFOR_LOOK_UP
    return lib;
}

const Libzip& Library() {
    static const Libzip lib = Load();
    if (!lib.error.empty()) {
        throw zanfor::host::Error(zanfor::output::kWorkbookDamaged,
                                  "ブックを読み書きできません (" + lib.error + ")。");
    }
    return lib;
}

}  // namespace

extern "C" {

int zip_close(zip_t* archive) { return Library().zip_close(archive); }
void zip_discard(zip_t* archive) { Library().zip_discard(archive); }
void zip_error_fini(zip_error_t* error) { Library().zip_error_fini(error); }
void zip_error_init(zip_error_t* error) { Library().zip_error_init(error); }
int zip_fclose(zip_file_t* file) { return Library().zip_fclose(file); }
zip_int64_t zip_file_add(zip_t* archive, const char* name, zip_source_t* source,
                         zip_flags_t flags) {
    return Library().zip_file_add(archive, name, source, flags);
}
zip_file_t* zip_fopen_index(zip_t* archive, zip_uint64_t index, zip_flags_t flags) {
    return Library().zip_fopen_index(archive, index, flags);
}
zip_int64_t zip_fread(zip_file_t* file, void* buffer, zip_uint64_t size) {
    return Library().zip_fread(file, buffer, size);
}
const char* zip_get_name(zip_t* archive, zip_uint64_t index, zip_flags_t flags) {
    return Library().zip_get_name(archive, index, flags);
}
zip_int64_t zip_get_num_entries(zip_t* archive, zip_flags_t flags) {
    return Library().zip_get_num_entries(archive, flags);
}
zip_t* zip_open_from_source(zip_source_t* source, int flags, zip_error_t* error) {
    return Library().zip_open_from_source(source, flags, error);
}
zip_source_t* zip_source_buffer(zip_t* archive, const void* data, zip_uint64_t size, int freep) {
    return Library().zip_source_buffer(archive, data, size, freep);
}
zip_source_t* zip_source_buffer_create(const void* data, zip_uint64_t size, int freep,
                                       zip_error_t* error) {
    return Library().zip_source_buffer_create(data, size, freep, error);
}
int zip_source_close(zip_source_t* source) { return Library().zip_source_close(source); }
void zip_source_free(zip_source_t* source) { Library().zip_source_free(source); }
void zip_source_keep(zip_source_t* source) { Library().zip_source_keep(source); }
int zip_source_open(zip_source_t* source) { return Library().zip_source_open(source); }
zip_int64_t zip_source_read(zip_source_t* source, void* buffer, zip_uint64_t size) {
    return Library().zip_source_read(source, buffer, size);
}

}  // extern "C"
