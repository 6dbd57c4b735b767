// raw_write BYTES PATH: puts BYTES zero bytes into PATH, replacing its content, and
// nothing else. The least any program spends to write a bitmap of that size, for the
// benchmark's floor; plain POSIX so that no library start-up is counted, and one
// small buffer written again and again so that no memory has to be filled first.

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

namespace {
char g_zeros[1 << 20];
}

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    size_t left = size_t(std::strtoull(argv[1], nullptr, 10));
    const int fd = open(argv[2], O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return 1;
    while (left > 0) {
        const ssize_t n = write(fd, g_zeros, left < sizeof g_zeros ? left : sizeof g_zeros);
        if (n <= 0)
            return 1;
        left -= size_t(n);
    }
    return close(fd) == 0 ? 0 : 1;
}
