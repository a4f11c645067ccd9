#include "client/PageClient.h"

namespace {
IPageClient* g_pPageClient = nullptr;
}

IPageClient* GetPageClient() {
    return g_pPageClient;
}

void SetPageClient(IPageClient* client) {
    g_pPageClient = client;
}
