/* A stand-in for the scaler library with every required export, whose version entry
   reports the major version after the one the program is built with. */
void sws_freeContext(void) {}
void sws_get_class(void) {}
void sws_getContext(void) {}
void sws_getCachedContext(void) {}
void sws_scale(void) {}
unsigned swscale_version(void) { return (STAND_IN_MAJOR << 16) | (1 << 8) | 2; }
