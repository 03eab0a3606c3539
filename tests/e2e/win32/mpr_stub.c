/* A stand-in mpr.dll: PwdChangePasswordA appends "provider parent reserved1 reserved2" to the
   file named by FQ_MPR_LOG and reports success, showing no window. */
#include <windows.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

__declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND parent,
                                                      DWORD reserved1, DWORD reserved2) {
  FILE* log = getenv("FQ_MPR_LOG") ? fopen(getenv("FQ_MPR_LOG"), "ab") : NULL;
  if (log) {
    fprintf(log, "%s %lld %lu %lu\n", provider ? provider : "(null)", (long long)(intptr_t)parent,
            (unsigned long)reserved1, (unsigned long)reserved2);
    fclose(log);
  }
  return 0;
}
