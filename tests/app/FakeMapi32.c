/* A MAPI32.DLL of the tests' own: MAPISendMail writes down what it was given
   to the file named by PELLIX_FAKE_MAPI_RECORD and answers with the number in
   PELLIX_FAKE_MAPI_RESULT, so that a test reaches the mail failure path. */
#include <windows.h>
#include <mapi.h>
#include <stdio.h>
#include <stdlib.h>

/* Tells a test that this library, not Wine's, was loaded. */
__declspec(dllexport) int PellixFakeMapi(void) { return 1; }

static const char* Text(const char* s) { return s != NULL ? s : "(null)"; }

__declspec(dllexport) ULONG WINAPI MAPISendMail(LHANDLE session, ULONG_PTR uiParam, lpMapiMessage message, FLAGS flags,
                                                ULONG reserved) {
    char path[MAX_PATH], result[32];
    if (GetEnvironmentVariableA("PELLIX_FAKE_MAPI_RECORD", path, sizeof(path)) == 0) return MAPI_E_FAILURE;
    ULONG answer = MAPI_E_FAILURE;
    if (GetEnvironmentVariableA("PELLIX_FAKE_MAPI_RESULT", result, sizeof(result)) != 0)
        answer = (ULONG)strtoul(result, NULL, 10);
    FILE* out = fopen(path, "ab");
    if (out == NULL) return MAPI_E_FAILURE;
    fprintf(out, "session=%llu parent=%s flags=%lu reserved=%lu\n", (unsigned long long)session,
            uiParam != 0 && IsWindow((HWND)uiParam) ? "window" : "none", (unsigned long)flags, (unsigned long)reserved);
    fprintf(out, "subject=%s\nnote=%s\n", Text(message->lpszSubject), Text(message->lpszNoteText));
    fprintf(out, "type=%s date=%s conversation=%s originator=%s files=%lu flags=%lu\n", Text(message->lpszMessageType),
            Text(message->lpszDateReceived), Text(message->lpszConversationID),
            message->lpOriginator != NULL ? "set" : "(null)", (unsigned long)message->nFileCount,
            (unsigned long)message->flFlags);
    fprintf(out, "recipients=%lu\n", (unsigned long)message->nRecipCount);
    for (ULONG i = 0; i < message->nRecipCount; ++i) {
        const MapiRecipDesc* r = &message->lpRecips[i];
        fprintf(out, "recipient class=%lu name=%s address=%s entry=%lu\n", (unsigned long)r->ulRecipClass, Text(r->lpszName),
                Text(r->lpszAddress), (unsigned long)r->ulEIDSize);
    }
    fclose(out);
    return answer;
}
