/* A stand-in for the resampler library that lacks one required export in the middle of its
   table (swr_free); the names before it are found, the ones after it are never looked up. */
void swr_alloc(void) {}
void swr_alloc_set_opts(void) {}
void swr_convert(void) {}
void swr_get_class(void) {}
void swr_init(void) {}
void swr_set_channel_mapping(void) {}
void swr_set_compensation(void) {}
unsigned swresample_version(void) { return 0; }
