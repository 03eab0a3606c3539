/* A stand-in mpr.dll for the end-to-end tests. Its PwdChangePasswordA appends one JSON line
   with what it received to the file named by FQ_MPR_LOG, and reports success. It shows no
   window, so a test can check the call without a password dialog in the way. */
#include <windows.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

static void WriteQuoted(FILE* log, const char* text) {
  if (!text) {
    fputs("null", log);
    return;
  }
  fputc('"', log);
  for (const unsigned char* c = (const unsigned char*)text; *c; ++c) {
    /* Bytes are ANSI, not UTF-8: escape everything outside printable ASCII as its code. */
    if (*c == '"' || *c == '\\') {
      fprintf(log, "\\%c", *c);
    } else if (*c < 0x20 || *c >= 0x7F) {
      fprintf(log, "\\u%04x", *c);
    } else {
      fputc(*c, log);
    }
  }
  fputc('"', log);
}

DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND parent, DWORD reserved1, DWORD reserved2) {
  const char* path = getenv("FQ_MPR_LOG");
  FILE* log = path ? fopen(path, "ab") : NULL;
  if (!log) return 0;
  fputs("{\"text\": ", log);
  WriteQuoted(log, provider);
  fprintf(log, ", \"parent\": %lld, \"reserved1\": %lu, \"reserved2\": %lu}\n",
          (long long)(intptr_t)parent, (unsigned long)reserved1, (unsigned long)reserved2);
  fclose(log);
  return 0;
}
