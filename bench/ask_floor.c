/* The least a caller of the clock can do, the floor its command is measured against: connect to
   the socket named, send one line, read one line back. Usage: ask_floor SOCKET [LINE] */
#include <string.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  struct sockaddr_un address = {.sun_family = AF_UNIX};
  strncpy(address.sun_path, argv[1], sizeof address.sun_path - 1);
  const char* line = argc > 2 ? argv[2] : "sprich";
  char answer[64];
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0 || connect(fd, (const struct sockaddr*)&address, sizeof address) != 0) return 1;
  if (write(fd, line, strlen(line)) < 0 || write(fd, "\n", 1) != 1) return 1;
  for (ssize_t got = 0; (got = read(fd, answer, sizeof answer)) > 0;) {
    if (memchr(answer, '\n', (size_t)got)) return 0;
  }
  return 1;
}
