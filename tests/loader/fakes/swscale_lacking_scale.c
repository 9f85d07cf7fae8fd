/* A stand-in for the scaler library that lacks one required export (sws_scale). */
void sws_freeContext(void) {}
void sws_get_class(void) {}
void sws_getContext(void) {}
void sws_getCachedContext(void) {}
