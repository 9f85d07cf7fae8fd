// An owner for an object of a C library that is given back through one release function
// (exif_data_unref, heif_context_free, ...): the object is released on every way out.
#pragma once
#include <memory>

template <auto Release>
struct ReleaseWith {
  template <typename T>
  void operator()(T* object) const {
    Release(object);
  }
};

template <typename T, auto Release>
using ReleasingOwner = std::unique_ptr<T, ReleaseWith<Release>>;
