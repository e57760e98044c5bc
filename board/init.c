/* The only user space of the emulated board: mounts what the tools need,
 * runs the steps named on the kernel command line and reboots, which ends
 * QEMU (started with -no-reboot; this board has no power-off).
 *
 * A step is a transcript, /board/steps/NAME.t. Lines starting "$ " are run
 * (words split on blanks, '...' quotes a word, a last word "<FILE" feeds
 * FILE to standard input); comment lines ("#") and blank lines are echoed;
 * the transcript's old output lines are dropped. What a command prints
 * follows it: standard output as "| " lines, then standard error as "! "
 * lines, then "[N]" when it exits with N other than 0. The host compares
 * this with the step file, byte for byte.
 *
 * The environment comes from the kernel command line: STEPS (a
 * comma-separated list) and NOW (seconds since the epoch; the board has no
 * clock, and a fixed time keeps the stamped records the same every run). */
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mount.h>
#include <sys/reboot.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

enum { kMaxWords = 64, kLine = 4096 };

static void set_clock(void) {
  const char *now = getenv("NOW");
  struct timeval tv = {0, 0};
  if (now == NULL) return;
  tv.tv_sec = (time_t)strtoll(now, NULL, 10);
  settimeofday(&tv, NULL);
}

/* Splits LINE in place; returns the number of words or -1 on an open quote. */
static int split(char *line, char **words, const char **input) {
  int n = 0;
  char *p = line;
  *input = NULL;
  while (*p != '\0') {
    while (*p == ' ') ++p;
    if (*p == '\0') break;
    if (n == kMaxWords - 1) return -1;
    char *out = p;
    words[n] = out;
    while (*p != '\0' && *p != ' ') {
      if (*p == '\'') {
        char *end = strchr(p + 1, '\'');
        if (end == NULL) return -1;
        size_t len = (size_t)(end - p - 1);
        memmove(out, p + 1, len);
        out += len;
        p = end + 1;
      } else {
        *out++ = *p++;
      }
    }
    if (*p == ' ') ++p;
    *out = '\0';
    ++n;
  }
  if (n > 0 && words[n - 1][0] == '<') *input = words[--n] + 1;
  words[n] = NULL;
  return n;
}

static void dump(const char *path, const char *prefix) {
  FILE *f = fopen(path, "r");
  char line[kLine];
  if (f == NULL) return;
  while (fgets(line, sizeof line, f) != NULL) {
    size_t len = strlen(line);
    printf("%s%s%s", prefix, line, len > 0 && line[len - 1] == '\n' ? "" : "\n");
  }
  fclose(f);
}

/* Returns the exit status, or -1 when the command could not be run. */
static int run(char *line) {
  char *words[kMaxWords];
  const char *input;
  int n = split(line, words, &input);
  if (n <= 0) {
    printf("init: cannot parse the command\n");
    return -1;
  }
  fflush(stdout);
  pid_t pid = fork();
  if (pid == 0) {
    int in = open(input != NULL ? input : "/dev/null", O_RDONLY);
    int out = open("/tmp/out", O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int err = open("/tmp/err", O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0) _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    execvp(words[0], words);
    fprintf(stderr, "init: %s: %s\n", words[0], strerror(errno));
    _exit(127);
  }
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) < 0) return -1;
  dump("/tmp/out", "| ");
  dump("/tmp/err", "! ");
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}

static int run_step(const char *name) {
  char path[256];
  char line[kLine];
  snprintf(path, sizeof path, "/board/steps/%s.t", name);
  FILE *f = fopen(path, "r");
  if (f == NULL) {
    printf("init: no step %s\n", name);
    return 1;
  }
  printf("@@ step %s\n", name);
  while (fgets(line, sizeof line, f) != NULL) {
    line[strcspn(line, "\n")] = '\0';
    if (line[0] == '#' || line[0] == '\0') {
      printf("%s\n", line);
    } else if (strncmp(line, "$ ", 2) == 0) {
      printf("%s\n", line);
      /* Every command sees the same clock, so stamps do not depend on speed. */
      set_clock();
      int status = run(line + 2);
      if (status != 0) printf("[%d]\n", status);
    }
  }
  fclose(f);
  printf("@@ end %s\n", name);
  return 0;
}

int main(void) {
  mount("proc", "/proc", "proc", 0, NULL);
  mount("sysfs", "/sys", "sysfs", 0, NULL);
  mount("devtmpfs", "/dev", "devtmpfs", 0, NULL);
  mount("tmpfs", "/tmp", "tmpfs", 0, NULL);
  mkdir("/tmp/store", 0755);
  setenv("QUILLET_FRU_STORE", "/tmp/store", 1);
  setenv("PATH", "/bin:/sbin", 1);
  setvbuf(stdout, NULL, _IOLBF, 0);

  char *steps = getenv("STEPS");
  if (steps != NULL) {
    for (char *name = strtok(steps, ","); name != NULL; name = strtok(NULL, ","))
      run_step(name);
  }
  printf("@@ done\n");
  fflush(stdout);
  sync();
  reboot(RB_AUTOBOOT);
  return 0;
}
