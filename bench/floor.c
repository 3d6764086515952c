/* The I/O floor of loading a game: reads every regular file of a directory
 * twice with open, read and close, and does nothing with the bytes. Loading
 * a game cannot cost less than reading its files once; twice allows for the
 * engine looking at each file before it reads it.
 *
 *     floor DIR
 */
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

static unsigned long read_file(const char *path) {
  char buffer[65536];
  unsigned long total = 0;
  int fd = open(path, O_RDONLY);
  if (fd < 0) return 0;
  for (;;) {
    ssize_t got = read(fd, buffer, sizeof buffer);
    if (got <= 0) break;
    total += (unsigned long)got;
  }
  close(fd);
  return total;
}

int main(int argc, char **argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: floor DIR\n");
    return 2;
  }
  DIR *dir = opendir(argv[1]);
  if (!dir) {
    perror(argv[1]);
    return 1;
  }
  unsigned long total = 0;
  unsigned long files = 0;
  char path[4096];
  for (struct dirent *entry; (entry = readdir(dir)) != NULL;) {
    if (entry->d_name[0] == '.') continue;
    if ((size_t)snprintf(path, sizeof path, "%s/%s", argv[1], entry->d_name) >= sizeof path) continue;
    total += read_file(path);
    total += read_file(path);
    ++files;
  }
  closedir(dir);
  printf("%lu files, %lu bytes\n", files, total);
  return 0;
}
