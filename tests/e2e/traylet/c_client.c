/* A client of Traylet.dll written in C, as a client built with another compiler sees the
 * library: it declares the interface the way Microsoft's compiler lays out the C++ header
 * TrayManager.h (the object starts with a pointer to a table of the five functions in slot
 * order; on 32-bit x86 each is __thiscall, with the object in ECX and the arguments popped by
 * the callee; the two exports are __cdecl, popped by the caller; on x86_64 all of them use the
 * one x64 convention). It loads the DLL by name and drives it through Init, a command of its
 * menu, the close request, Shutdown and DestroyTrayManager, checking each result and, on
 * 32-bit x86, that the stack pointer is where the convention leaves it after each call.
 * Exit code: the number of failed checks. */
#include <windows.h>

#include <stdio.h>

#if defined(__i386__)
#define CLIENT_THISCALL __thiscall
#else
#define CLIENT_THISCALL
#endif

typedef struct TrayManager TrayManager;

typedef struct TrayManagerVtbl
{
    BOOL(CLIENT_THISCALL* Init)(TrayManager* This, HWND hOwnerWnd, HICON hIcon, LPCSTR pszTip, HMENU hMenu);
    BOOL(CLIENT_THISCALL* Shutdown)(TrayManager* This);
    BOOL(CLIENT_THISCALL* ReCreateTrayIcon)(TrayManager* This);
    HWND(CLIENT_THISCALL* GetOwnerWnd)(TrayManager* This);
    HMENU(CLIENT_THISCALL* GetPopupMenu)(TrayManager* This);
} TrayManagerVtbl;

struct TrayManager
{
    const TrayManagerVtbl* lpVtbl;
};

typedef BOOL(__cdecl* PFN_CREATETRAYMANAGER)(TrayManager** ppManager);
typedef BOOL(__cdecl* PFN_DESTROYTRAYMANAGER)(TrayManager** ppManager);

enum { kCmdClient = 1234, kCmdOpenOwner = 9000 };

static int g_failures = 0;
static int g_closeReachedOwner = 0;
static int g_clientCommands = 0;

static void Check(int ok, const char* what)
{
    printf("%s %s\n", ok ? "ok  " : "FAIL", what);
    if (!ok)
        ++g_failures;
}

#if defined(__i386__)
/* CallChecked(fn, thisPtr, calleePops, argCount, args, pResult): calls fn with ECX = thisPtr
 * and the arguments pushed right to left, stores EAX in *pResult, and answers 1 when ESP after
 * the return is where the convention leaves it (back where it was before the arguments when
 * the callee pops them, at the arguments when the caller does), 0 otherwise. ESP is put back
 * either way, so a wrong convention is reported instead of crashing the client. */
int __cdecl CallChecked(const void* fn, void* thisPtr, int calleePops, int argCount, const DWORD_PTR* args,
                        DWORD_PTR* pResult);
__asm__(".text\n"
        ".globl _CallChecked\n"
        "_CallChecked:\n"
        "    pushl %ebp\n"
        "    movl %esp, %ebp\n"
        "    pushl %ebx\n"
        "    pushl %esi\n"
        "    pushl %edi\n"
        "    movl %esp, %esi\n"     /* ESP before the arguments */
        "    movl 20(%ebp), %eax\n" /* argCount */
        "    movl 24(%ebp), %edx\n" /* args */
        "1:  testl %eax, %eax\n"
        "    jz 2f\n"
        "    decl %eax\n"
        "    pushl (%edx,%eax,4)\n"
        "    jmp 1b\n"
        "2:  movl %esp, %edi\n"     /* ESP at the arguments */
        "    movl 12(%ebp), %ecx\n" /* thisPtr */
        "    call *8(%ebp)\n"
        "    cmpl $0, 16(%ebp)\n" /* calleePops */
        "    je 3f\n"
        "    movl %esi, %edi\n"
        "3:  xorl %ecx, %ecx\n"
        "    cmpl %edi, %esp\n"
        "    sete %cl\n"
        "    movl %esi, %esp\n"
        "    movl 28(%ebp), %edx\n" /* pResult */
        "    movl %eax, (%edx)\n"
        "    movl %ecx, %eax\n"
        "    popl %edi\n"
        "    popl %esi\n"
        "    popl %ebx\n"
        "    popl %ebp\n"
        "    ret\n");

static DWORD_PTR CallMember(const void* fn, TrayManager* pManager, int argCount, const DWORD_PTR* args,
                            const char* what)
{
    DWORD_PTR result = 0;
    char text[128];
    const int balanced = CallChecked(fn, pManager, 1, argCount, args, &result);
    snprintf(text, sizeof text, "%s leaves the stack balanced (__thiscall)", what);
    Check(balanced, text);
    return result;
}

static BOOL CallExport(const void* fn, TrayManager** ppManager, const char* what)
{
    DWORD_PTR result = 0;
    DWORD_PTR arg = (DWORD_PTR)ppManager;
    char text[128];
    const int balanced = CallChecked(fn, NULL, 0, 1, &arg, &result);
    snprintf(text, sizeof text, "%s leaves its argument to the caller (__cdecl)", what);
    Check(balanced, text);
    return (BOOL)result;
}

#define INIT(p, owner, icon, tip, menu) \
    (BOOL) CallMember( \
        (const void*)(p)->lpVtbl->Init, (p), 4, \
        (const DWORD_PTR[]){(DWORD_PTR)(owner), (DWORD_PTR)(icon), (DWORD_PTR)(tip), (DWORD_PTR)(menu)}, \
        "Init")
#define CALL0(p, slot) CallMember((const void*)(p)->lpVtbl->slot, (p), 0, NULL, #slot)
#define SHUTDOWN(p) (BOOL) CALL0(p, Shutdown)
#define GET_OWNER(p) (HWND) CALL0(p, GetOwnerWnd)
#define GET_MENU(p) (HMENU) CALL0(p, GetPopupMenu)
#define CREATE(fn, pp) CallExport((const void*)(fn), (pp), "CreateTrayManager")
#define DESTROY(fn, pp) CallExport((const void*)(fn), (pp), "DestroyTrayManager")
#else
#define INIT(p, owner, icon, tip, menu) (p)->lpVtbl->Init((p), (owner), (icon), (tip), (menu))
#define SHUTDOWN(p) (p)->lpVtbl->Shutdown(p)
#define GET_OWNER(p) (p)->lpVtbl->GetOwnerWnd(p)
#define GET_MENU(p) (p)->lpVtbl->GetPopupMenu(p)
#define CREATE(fn, pp) (fn)(pp)
#define DESTROY(fn, pp) (fn)(pp)
#endif

static LRESULT CALLBACK OwnerProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_CLOSE) {
        ++g_closeReachedOwner;
        return 0;
    }
    if (uMsg == WM_COMMAND && LOWORD(wParam) == kCmdClient) {
        ++g_clientCommands;
        return 0;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

static HWND MakeOwner(void)
{
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof wc);
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "TrayletCClientOwner";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "C client", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200,
                           120, NULL, NULL, wc.hInstance, NULL);
}

static HICON MakeIcon(void)
{
    BYTE andMask[16 * 2];
    BYTE xorMask[16 * 2];
    ZeroMemory(andMask, sizeof andMask);
    FillMemory(xorMask, sizeof xorMask, 0xFF);
    return CreateIcon(GetModuleHandleA(NULL), 16, 16, 1, 1, andMask, xorMask);
}

static HWND FindTrayWindow(void)
{
    HWND hWnd = NULL;
    while ((hWnd = FindWindowExA(NULL, hWnd, "BgTrayServerWnd", NULL)) != NULL) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hWnd, &pid);
        if (pid == GetCurrentProcessId())
            return hWnd;
    }
    return NULL;
}

int main(void)
{
    HMODULE hDll = LoadLibraryA("Traylet.dll");
    Check(hDll != NULL, "Traylet.dll loads");
    if (!hDll)
        return g_failures;
    /* The plain names: a decorated export (_CreateTrayManager, CreateTrayManager@4) would not
     * be found. */
    PFN_CREATETRAYMANAGER pfnCreate = (PFN_CREATETRAYMANAGER)(void*)GetProcAddress(hDll, "CreateTrayManager");
    PFN_DESTROYTRAYMANAGER pfnDestroy =
        (PFN_DESTROYTRAYMANAGER)(void*)GetProcAddress(hDll, "DestroyTrayManager");
    Check(pfnCreate && pfnDestroy, "both exports are found by their plain names");
    if (!pfnCreate || !pfnDestroy)
        return g_failures;

    HWND hOwner = MakeOwner();
    HICON hIcon = MakeIcon();
    HMENU hMenu = CreateMenu();
    HMENU hSub = CreatePopupMenu();
    AppendMenuA(hSub, MF_STRING, kCmdClient, "Settings");
    AppendMenuA(hMenu, MF_POPUP, (UINT_PTR)hSub, "Tray");
    Check(hOwner && hIcon && hMenu && hSub, "the client's window, icon and menu are made");

    TrayManager* pManager = NULL;
    Check(CREATE(pfnCreate, &pManager) == TRUE, "CreateTrayManager answers TRUE");
    Check(pManager != NULL && pManager->lpVtbl != NULL, "CreateTrayManager stores a manager");
    if (!pManager)
        return g_failures;

    Check(INIT(pManager, hOwner, hIcon, "C client", hMenu) == TRUE, "Init answers TRUE");
    /* Slots 4 and 5 answer what Init was given: the table is in the header's order. */
    Check(GET_OWNER(pManager) == hOwner, "GetOwnerWnd (slot 4) answers the owner window");
    Check(GET_MENU(pManager) == hSub, "GetPopupMenu (slot 5) answers the submenu");
    Check(GetMenuItemCount(hSub) == 2 && GetMenuItemID(hSub, 1) == kCmdOpenOwner,
          "Init appended the entry that opens the owner");

    HWND hTray = FindTrayWindow();
    Check(hTray != NULL, "Init made the hidden window");
    SendMessageA(hTray, WM_COMMAND, kCmdClient, 0);
    Check(g_clientCommands == 1, "a command of the client's menu reaches the owner");

    SendMessageA(hOwner, WM_CLOSE, 0, 0);
    Check(!IsWindowVisible(hOwner) && IsWindow(hOwner), "the close request hides the owner");
    Check(g_closeReachedOwner == 0, "the close request does not reach the owner's procedure");
    SendMessageA(hTray, WM_COMMAND, kCmdOpenOwner, 0);
    Check(IsWindowVisible(hOwner), "the appended entry shows the owner again");

    Check(SHUTDOWN(pManager) == TRUE, "Shutdown answers TRUE");
    Check(!IsWindow(hTray), "Shutdown destroyed the hidden window");
    TrayManager* pCopy = pManager;
    Check(DESTROY(pfnDestroy, &pCopy) == TRUE, "DestroyTrayManager answers TRUE");
    Check(pCopy == pManager, "DestroyTrayManager leaves the caller's pointer as it was");

    DestroyWindow(hOwner);
    DestroyMenu(hMenu);
    DestroyIcon(hIcon);
    FreeLibrary(hDll);
    printf("%d failed\n", g_failures);
    return g_failures;
}
