/* Fault injection for the real disk code: loaded with LD_PRELOAD, it makes
 * one chosen system call on files under one folder fail, and counts the
 * calls of each kind so that a test can try every one of them in turn.
 *
 *   V3FAULT_DIR     only files at or under this absolute path are counted
 *   V3FAULT_OP      open | read | write | fsync | close | rename | unlink
 *   V3FAULT_N       the call (1-based, counted per kind) that fails
 *   V3FAULT_ERRNO   the error it fails with (number; default EIO)
 *   V3FAULT_MODE    "error" (default); "short": the write puts half of its
 *                   bytes and every later write fails with ENOSPC (the disk
 *                   filled up); "eof": the read finds the end of the file;
 *                   "kill": the process is killed (SIGKILL) at that call
 *   V3FAULT_REPORT  a file to which the counts and whether the fault fired
 *                   are written at exit ("open 3\nread 2\n...\nfired 1\n")
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <signal.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

enum { OP_OPEN, OP_READ, OP_WRITE, OP_FSYNC, OP_CLOSE, OP_RENAME, OP_UNLINK, OP_KINDS };
static const char* const kNames[OP_KINDS] = {"open", "read", "write", "fsync", "close", "rename", "unlink"};

enum { MODE_ERROR, MODE_SHORT, MODE_EOF, MODE_KILL };

#define MAX_FD 65536
static unsigned char tracked[MAX_FD];
static int counts[OP_KINDS];
static int failOp = -1, failN = 0, failErrno = EIO, mode = MODE_ERROR, fired = 0, diskFull = 0;
static char folder[4096];
static size_t folderLen = 0;

static int (*real_openat)(int, const char*, int, ...);
static ssize_t (*real_read)(int, void*, size_t);
static ssize_t (*real_pread)(int, void*, size_t, off_t);
static ssize_t (*real_write)(int, const void*, size_t);
static int (*real_fsync)(int);
static int (*real_fdatasync)(int);
static int (*real_close)(int);
static int (*real_rename)(const char*, const char*);
static int (*real_renameat)(int, const char*, int, const char*);
static int (*real_renameat2)(int, const char*, int, const char*, unsigned);
static int (*real_unlink)(const char*);
static int (*real_unlinkat)(int, const char*, int);

static void resolve(void) {
  if (real_openat) return;
  real_openat = (int (*)(int, const char*, int, ...))dlsym(RTLD_NEXT, "openat");
  real_read = (ssize_t(*)(int, void*, size_t))dlsym(RTLD_NEXT, "read");
  real_pread = (ssize_t(*)(int, void*, size_t, off_t))dlsym(RTLD_NEXT, "pread");
  real_write = (ssize_t(*)(int, const void*, size_t))dlsym(RTLD_NEXT, "write");
  real_fsync = (int (*)(int))dlsym(RTLD_NEXT, "fsync");
  real_fdatasync = (int (*)(int))dlsym(RTLD_NEXT, "fdatasync");
  real_close = (int (*)(int))dlsym(RTLD_NEXT, "close");
  real_rename = (int (*)(const char*, const char*))dlsym(RTLD_NEXT, "rename");
  real_renameat = (int (*)(int, const char*, int, const char*))dlsym(RTLD_NEXT, "renameat");
  real_renameat2 = (int (*)(int, const char*, int, const char*, unsigned))dlsym(RTLD_NEXT, "renameat2");
  real_unlink = (int (*)(const char*))dlsym(RTLD_NEXT, "unlink");
  real_unlinkat = (int (*)(int, const char*, int))dlsym(RTLD_NEXT, "unlinkat");
}

__attribute__((constructor)) static void setUp(void) {
  resolve();
  const char* d = getenv("V3FAULT_DIR");
  if (d && *d && strlen(d) < sizeof folder) {
    strcpy(folder, d);
    folderLen = strlen(folder);
    while (folderLen > 1 && folder[folderLen - 1] == '/') folder[--folderLen] = '\0';
  }
  const char* op = getenv("V3FAULT_OP");
  for (int k = 0; op && k < OP_KINDS; ++k)
    if (strcmp(op, kNames[k]) == 0) failOp = k;
  const char* n = getenv("V3FAULT_N");
  failN = n ? atoi(n) : 0;
  const char* e = getenv("V3FAULT_ERRNO");
  if (e && *e) failErrno = atoi(e);
  const char* m = getenv("V3FAULT_MODE");
  if (m && strcmp(m, "short") == 0) mode = MODE_SHORT;
  if (m && strcmp(m, "eof") == 0) mode = MODE_EOF;
  if (m && strcmp(m, "kill") == 0) mode = MODE_KILL;
}

__attribute__((destructor)) static void report(void) {
  const char* path = getenv("V3FAULT_REPORT");
  if (!path || !*path) return;
  char text[512];
  int len = 0;
  for (int k = 0; k < OP_KINDS; ++k) len += snprintf(text + len, sizeof text - (size_t)len, "%s %d\n", kNames[k], counts[k]);
  len += snprintf(text + len, sizeof text - (size_t)len, "fired %d\n", fired);
  const int fd = real_openat(AT_FDCWD, path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return;
  if (real_write(fd, text, (size_t)len) != len) { /* the test sees a short report */ }
  real_close(fd);
}

static int under(const char* path) {
  if (!folderLen || !path) return 0;
  char absolute[8192];
  if (path[0] != '/') {
    /* Relative to the working folder ("./" and ".." are not folded). */
    if (!getcwd(absolute, sizeof absolute - 1)) return 0;
    const size_t len = strlen(absolute);
    if (len + 1 + strlen(path) >= sizeof absolute) return 0;
    absolute[len] = '/';
    strcpy(absolute + len + 1, path);
    path = absolute;
  }
  if (strncmp(path, folder, folderLen) != 0) return 0;
  return path[folderLen] == '\0' || path[folderLen] == '/';
}

/* Counts a call of the kind; true when this is the one to fail. Reads
 * may come from two threads at once. */
static int hit(int op) {
  const int n = __atomic_add_fetch(&counts[op], 1, __ATOMIC_SEQ_CST);
  if (op == failOp && n == failN && !__atomic_exchange_n(&fired, 1, __ATOMIC_SEQ_CST)) {
    if (mode == MODE_KILL) kill(getpid(), SIGKILL);
    return 1;
  }
  return 0;
}

static int isTracked(int fd) { return fd >= 0 && fd < MAX_FD && tracked[fd]; }

static int openIn(int dirfd, const char* path, int flags, mode_t m) {
  resolve();
  const int counted = (dirfd == AT_FDCWD || path[0] == '/') && under(path);
  if (counted && hit(OP_OPEN)) {
    errno = failErrno;
    return -1;
  }
  const int fd = real_openat(dirfd, path, flags, m);
  /* A folder opened for reading (to flush or lock it) holds nothing that a
   * failed close could lose: its closes are not counted. */
  if (fd >= 0 && fd < MAX_FD) tracked[fd] = (unsigned char)(counted ? ((flags & O_DIRECTORY) ? 2 : 1) : 0);
  return fd;
}

static mode_t modeArg(int flags, va_list ap) {
  return (flags & O_CREAT) || (flags & __O_TMPFILE) == __O_TMPFILE ? (mode_t)va_arg(ap, int) : 0;
}

int open(const char* path, int flags, ...) {
  va_list ap;
  va_start(ap, flags);
  const mode_t m = modeArg(flags, ap);
  va_end(ap);
  return openIn(AT_FDCWD, path, flags, m);
}
int open64(const char* path, int flags, ...) {
  va_list ap;
  va_start(ap, flags);
  const mode_t m = modeArg(flags, ap);
  va_end(ap);
  return openIn(AT_FDCWD, path, flags, m);
}
int openat(int dirfd, const char* path, int flags, ...) {
  va_list ap;
  va_start(ap, flags);
  const mode_t m = modeArg(flags, ap);
  va_end(ap);
  return openIn(dirfd, path, flags, m);
}
int openat64(int dirfd, const char* path, int flags, ...) {
  va_list ap;
  va_start(ap, flags);
  const mode_t m = modeArg(flags, ap);
  va_end(ap);
  return openIn(dirfd, path, flags, m);
}
int __open_2(const char* path, int flags) { return openIn(AT_FDCWD, path, flags, 0); }
int __open64_2(const char* path, int flags) { return openIn(AT_FDCWD, path, flags, 0); }

ssize_t read(int fd, void* buffer, size_t count) {
  resolve();
  if (isTracked(fd) && hit(OP_READ)) {
    if (mode == MODE_EOF) return 0;
    errno = failErrno;
    return -1;
  }
  return real_read(fd, buffer, count);
}
ssize_t __read_chk(int fd, void* buffer, size_t count, size_t size) {
  (void)size;
  return read(fd, buffer, count);
}
/* A read at an offset counts as a read. */
ssize_t pread(int fd, void* buffer, size_t count, off_t offset) {
  resolve();
  if (isTracked(fd) && hit(OP_READ)) {
    if (mode == MODE_EOF) return 0;
    errno = failErrno;
    return -1;
  }
  return real_pread(fd, buffer, count, offset);
}
ssize_t pread64(int fd, void* buffer, size_t count, off_t offset) { return pread(fd, buffer, count, offset); }
ssize_t __pread_chk(int fd, void* buffer, size_t count, off_t offset, size_t size) {
  (void)size;
  return pread(fd, buffer, count, offset);
}
ssize_t __pread64_chk(int fd, void* buffer, size_t count, off_t offset, size_t size) {
  (void)size;
  return pread(fd, buffer, count, offset);
}

ssize_t write(int fd, const void* buffer, size_t count) {
  resolve();
  if (!isTracked(fd)) return real_write(fd, buffer, count);
  if (diskFull) {
    ++counts[OP_WRITE];
    errno = ENOSPC;
    return -1;
  }
  if (hit(OP_WRITE)) {
    if (mode == MODE_SHORT && count > 1) {
      diskFull = 1;
      return real_write(fd, buffer, count / 2);
    }
    errno = mode == MODE_SHORT ? ENOSPC : failErrno;
    return -1;
  }
  return real_write(fd, buffer, count);
}

int fsync(int fd) {
  resolve();
  if (isTracked(fd) && hit(OP_FSYNC)) {
    errno = failErrno;
    return -1;
  }
  return real_fsync(fd);
}
int fdatasync(int fd) {
  resolve();
  if (isTracked(fd) && hit(OP_FSYNC)) {
    errno = failErrno;
    return -1;
  }
  return real_fdatasync(fd);
}

int close(int fd) {
  resolve();
  const int counted = isTracked(fd) && tracked[fd] == 1;
  if (isTracked(fd)) tracked[fd] = 0;
  const int result = real_close(fd);
  if (counted && hit(OP_CLOSE)) {
    /* As Linux does: the descriptor is gone, but the close reports the error. */
    errno = failErrno;
    return -1;
  }
  return result;
}

int rename(const char* from, const char* to) {
  resolve();
  if ((under(from) || under(to)) && hit(OP_RENAME)) {
    errno = failErrno;
    return -1;
  }
  return real_rename(from, to);
}
int renameat(int fromDir, const char* from, int toDir, const char* to) {
  resolve();
  if ((under(from) || under(to)) && hit(OP_RENAME)) {
    errno = failErrno;
    return -1;
  }
  return real_renameat(fromDir, from, toDir, to);
}
int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags) {
  resolve();
  if ((under(from) || under(to)) && hit(OP_RENAME)) {
    errno = failErrno;
    return -1;
  }
  return real_renameat2(fromDir, from, toDir, to, flags);
}

int unlink(const char* path) {
  resolve();
  if (under(path) && hit(OP_UNLINK)) {
    errno = failErrno;
    return -1;
  }
  return real_unlink(path);
}
int unlinkat(int dirfd, const char* path, int flags) {
  resolve();
  if ((dirfd == AT_FDCWD || path[0] == '/') && under(path) && hit(OP_UNLINK)) {
    errno = failErrno;
    return -1;
  }
  return real_unlinkat(dirfd, path, flags);
}
