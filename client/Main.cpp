// The program's entry: the one application object and the class library's start.
#include "client/PellarApp.h"

CPellarApp theApp;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    return AfxWinMain();
}
