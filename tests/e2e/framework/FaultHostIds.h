// Resource and control ids of the framework's fault host.
#pragma once

#define IDD_FAULT_HOST 100
#define IDD_FAULT_PAGE 101
#define IDS_FAULT_SHEET 102

// Buttons whose handlers throw.
#define IDC_THROW_BAD_ALLOC 1001
#define IDC_THROW_INT 1002
#define IDC_THROW_RUNTIME_ERROR 1003

#define FAULT_HOST_CAPTION "Framework fault host"
