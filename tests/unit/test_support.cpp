#include "test_support.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <new>
#include <sstream>
#include <sys/stat.h>

#include "bench/measure.h"
#include "fake_gl.h"
#include "report/report_log.h"
#include "shell/status_screen.h"

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void write_file(const std::string& path, const std::string& bytes, bool executable)
{
    std::ofstream(path, std::ios::binary) << bytes;
    if (executable)
        chmod(path.c_str(), 0755);
}

void ProgramTest::SetUp()
{
    char templ[] = "/tmp/vexa-unit-XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    dir = templ;
    char* cwd = getcwd(nullptr, 0);
    old_dir = cwd;
    free(cwd);
    ASSERT_EQ(chdir(dir.c_str()), 0);

    fake_reset();
    fail_allocation(0);
    test_mode = MODE_UPLOAD;
    format_index = 0;
    transfer_rate = 0.0;
    bench_texture = 0;
    first_frame = true;
}

void ProgramTest::TearDown()
{
    report_close();
    fail_allocation(0);
    ASSERT_EQ(chdir(old_dir.c_str()), 0);
    std::string command = "rm -rf '" + dir + "'";
    ASSERT_EQ(system(command.c_str()), 0);
}

// Array new and delete are replaced as a set, all on malloc and free, so
// that a test can make the program's nothrow allocation fail and sanitizers
// still see matching pairs.
static int allocations_until_failure; // 0: none fails

void fail_allocation(int nth)
{
    allocations_until_failure = nth;
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    if (allocations_until_failure > 0 && --allocations_until_failure == 0)
        return nullptr;
    return std::malloc(size ? size : 1);
}

void* operator new[](std::size_t size)
{
    void* memory = std::malloc(size ? size : 1);
    if (!memory)
        throw std::bad_alloc();
    return memory;
}

void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
