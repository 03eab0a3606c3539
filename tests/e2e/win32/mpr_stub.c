/* A stand-in mpr.dll: its PwdChangePasswordA appends what it received to the file named by
   FQ_MPR_LOG, one line "provider parent reserved1 reserved2", and reports success without
   showing a window. */
#include <windows.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND parent, DWORD reserved1, DWORD reserved2) {
  FILE* log = getenv("FQ_MPR_LOG") ? fopen(getenv("FQ_MPR_LOG"), "ab") : NULL;
  if (log) {
    fprintf(log, "%s %lld %lu %lu\n", provider ? provider : "(null)", (long long)(intptr_t)parent,
            (unsigned long)reserved1, (unsigned long)reserved2);
    fclose(log);
  }
  return 0;
}
