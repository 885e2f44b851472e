#pragma once

#include <memory>

// Deletes a service through a function bound where the service's class is complete (ownService),
// so that an owner which knows the class by name only can hold and destroy it: the project owns
// the services of the layers above it so.
template <typename T> class RCServiceDeleter
{
public:
    RCServiceDeleter() = default;
    explicit RCServiceDeleter(void (*destroy)(T*)) : m_destroy(destroy) {}

    void operator()(T* service) const { m_destroy(service); }

private:
    void (*m_destroy)(T*) = nullptr;
};

// The one owning pointer of a service.
template <typename T> using RCServicePtr = std::unique_ptr<T, RCServiceDeleter<T>>;

// Takes ownership of service (null gives an empty pointer). Call it where T is defined.
template <typename T> RCServicePtr<T> ownService(T* service)
{
    static_assert(sizeof(T) > 0, "ownService needs the definition of the service's class");
    return RCServicePtr<T>(service, RCServiceDeleter<T>([](T* owned) { delete owned; }));
}
